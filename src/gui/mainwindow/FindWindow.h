#pragma once

#include "core/mainwindow/NotebookSearch.h"

#include <QWidget>

class BusinessDataTier;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QThread;
class HitList;

// "Find in all pages": a word, looked for in every page of the notebook as
// the page search looks in one, and the list of the pages that hold it.
// Going to one hands the page and the place on through pageChosen; the
// window knows only the pages. Searching runs on a thread of its own where
// the notebook is large, with a snapshot of the pages.
class FindWindow : public QWidget {
    Q_OBJECT

public:
    explicit FindWindow(const BusinessDataTier& store);
    ~FindWindow() override;

    // Shown, or brought to the front, with the keyboard in its field and
    // the last word selected; the list is made anew.
    void open();
    // How many pages the list holds, and the page of an entry.
    int hitCount() const;

signals:
    // `position` and `length` are the editor's, where a line break is one
    // character.
    void pageChosen(std::int16_t page, int position, int length, const QString& word, bool matchCase);
    // Closed by the user: the keyboard goes back to the main window.
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::string suchwort() const;
    void suche();
    void zeigeTreffer(std::vector<NotebookSearch::Hit> hits, PageList pages, std::uint64_t generation);
    void geheZu(int row);
    void sageAnzahl();

    const BusinessDataTier& store;
    QLineEdit* field = nullptr;
    QCheckBox* matchCase = nullptr;
    QLabel* count = nullptr;
    QListView* list = nullptr;
    HitList* hits = nullptr;
    QThread* worker = nullptr;
    std::uint64_t generation = 0;
    bool searchAgain = false;
};
