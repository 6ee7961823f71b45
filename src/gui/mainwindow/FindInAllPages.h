#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class FindWindow;
class NotebookSession;

// The find window of the whole notebook, made when first opened, and the
// word last gone to from it: F3 finds that word again on its page until the
// page changes.
class FindInAllPages : public QObject {
    Q_OBJECT

public:
    struct Word {
        QString text;
        bool matchCase = false;
    };

    FindInAllPages(NotebookSession& session, QObject* parent);
    ~FindInAllPages() override;

    void open();
    // The word gone to, while its page is the one shown and unchanged; once
    // asked for on another page, it is forgotten.
    std::optional<Word> wordOnPage();
    FindWindow* window() const { return findWindow.get(); }

signals:
    // The page to show, and the word's place on it in the editor's terms.
    void pageChosen(std::int16_t page, int position, int length);
    // The window was closed: the keyboard goes back.
    void closed();

private:
    void merke(std::int16_t page, int position, int length, const QString& word, bool matchCase);

    NotebookSession& session;
    std::unique_ptr<FindWindow> findWindow;
    Word found;
    std::int16_t foundPage = 0;
    std::uint64_t foundRead = 0;
};
