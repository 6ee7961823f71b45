#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

class BusinessDataTier;
class NotebookKeeper;
class PageEditor;
class PageView;
class UserDialogs;

// The notebook from its reading at the start to its last save: the pages in
// memory, the page in the editor, and the keeping of both on disk. A
// notebook that could not be read is never written over.
class NotebookSession : public QObject {
    Q_OBJECT

public:
    NotebookSession(PageEditor& editor, UserDialogs& dialogs, QObject* parent);
    ~NotebookSession() override;

    // The pages, made when first asked for.
    BusinessDataTier& pages();
    PageView& view() const { return *pageView; }

    // Reads the notebook and keeps it from then on; false where it could
    // not be read (the user has been told).
    bool load();
    bool wasRead() const { return read; }
    // The editor's text into the current page, and the current page into
    // the editor.
    void storePage();
    void showPage();
    // What a page button does; the save follows as after typing.
    void turn(std::int16_t button);
    // Shows `page` with `length` characters from `position` on selected.
    void goTo(std::int16_t page, int position, int length);

    // Writes what changed at the end, the page stored before; false where
    // that failed (told).
    bool saveAtEnd();
    // The end that cannot ask: into the notebook or a rescue file.
    void saveWithoutAsking();
    // The window was hidden or shown: a save, or a look at the file; none
    // after the last save.
    void windowHidden();
    void windowShown();

signals:
    void notice(const QString& kind, const QString& text);
    void noticeOver(const QString& kind);

private:
    PageEditor& editor;
    UserDialogs& dialogs;
    std::unique_ptr<BusinessDataTier> store;
    std::unique_ptr<PageView> pageView;
    // Writes the notebook between times, so a crash or a power cut loses no
    // more than the last few seconds, and watches it for others' changes.
    NotebookKeeper* keeper = nullptr;
    bool read = false;
};
