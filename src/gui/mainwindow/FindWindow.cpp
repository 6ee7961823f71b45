#include "FindWindow.h"

#include "PageText.h"

#include "core/store/BusinessDataTier.h"
#include "core/store/CodePage.h"

#include <QAbstractListModel>
#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QThread>

namespace {

// More pages than this are searched off the window's thread.
constexpr std::size_t kPagesSearchedAtOnce = 2000;
// How much of a line an entry shows around the word.
constexpr std::size_t kLineWidth = 80;

} // namespace

// The pages found, each entry's text made only when the list shows it.
class HitList : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(std::vector<NotebookSearch::Hit> found, PageList searched, std::size_t termLength)
    {
        beginResetModel();
        hits = std::move(found);
        pages = std::move(searched);
        length = termLength;
        endResetModel();
    }
    const NotebookSearch::Hit& hit(int row) const { return hits[static_cast<std::size_t>(row)]; }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(hits.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        const NotebookSearch::Hit& found = hit(index.row());
        const std::string_view record(pages[static_cast<std::size_t>(found.page - 1)].inhalt.data(),
                                      kPageLength);
        const auto [start, end] = NotebookSearch::lineAround(record, found.offset, length, kLineWidth);
        return QStringLiteral("Page %1: %2")
            .arg(found.page)
            .arg(PageText::decoded(record.substr(start, end - start)));
    }

private:
    std::vector<NotebookSearch::Hit> hits;
    PageList pages;
    std::size_t length = 0;
};

FindWindow::FindWindow(const BusinessDataTier& store_)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
    , store(store_)
    , field(new QLineEdit(this))
    , matchCase(new QCheckBox(QStringLiteral("big/ small letters"), this))
    , count(new QLabel(this))
    , list(new QListView(this))
    , hits(new HitList(this))
{
    setObjectName(QStringLiteral("findInAllPages"));
    setWindowTitle(QStringLiteral("Find in all pages"));
    auto* label = new QLabel(QStringLiteral("&Word:"), this);
    label->setBuddy(field);
    field->setAccessibleName(QStringLiteral("Word to find in all pages"));
    matchCase->setAccessibleName(QStringLiteral("big/ small letters"));
    count->setObjectName(QStringLiteral("pagesFound"));
    count->setAccessibleName(QStringLiteral("Pages found"));
    count->setTextFormat(Qt::PlainText);
    list->setAccessibleName(QStringLiteral("Pages that hold the word"));
    list->setModel(hits);
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(field, 0, 1);
    grid->addWidget(matchCase, 1, 1);
    grid->addWidget(count, 2, 0, 1, 2);
    grid->addWidget(list, 3, 0, 1, 2);
    resize(420, 320);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textEdited, this, &FindWindow::suche);
    connect(matchCase, &QCheckBox::toggled, this, &FindWindow::suche);
    connect(field, &QLineEdit::returnPressed, this,
            [this] { geheZu(list->currentIndex().isValid() ? list->currentIndex().row() : 0); });
    connect(list, &QListView::activated, this, [this](const QModelIndex& index) { geheZu(index.row()); });
}

FindWindow::~FindWindow()
{
    if (worker)
        worker->wait();
}

void FindWindow::open()
{
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    suche();
}

int FindWindow::hitCount() const
{
    return hits->rowCount();
}

// Escape closes the window from any of its controls.
void FindWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void FindWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    emit closed();
}

// Pages changed meanwhile are in the list as soon as it is looked at again.
void FindWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        suche();
}

// Up and Down in the field move along the list.
bool FindWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == field && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && hitCount() > 0) {
            const int row = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
            const int next = std::clamp(row + (key == Qt::Key_Down ? 1 : -1), 0, hitCount() - 1);
            list->setCurrentIndex(hits->index(next));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The field's word as the notebook's bytes.
std::string FindWindow::suchwort() const
{
    const QString word = field->text();
    return NotebookSearch::termBytes(PageText::utf16(word), CodePage::system());
}

// The pages as they are now, the page shown with what is typed in it.
void FindWindow::suche()
{
    if (worker) {
        searchAgain = true;
        return;
    }
    const std::string term = suchwort();
    const bool exact = matchCase->isChecked();
    PageList pages = store.pages().snapshot();
    const std::uint64_t asked = ++generation;
    if (pages.size() <= kPagesSearchedAtOnce) {
        auto found = NotebookSearch::find(pages, term, exact, CodePage::system());
        zeigeTreffer(std::move(found), std::move(pages), asked);
        return;
    }
    auto* job = new std::vector<NotebookSearch::Hit>();
    auto* searched = new PageList(std::move(pages));
    worker = QThread::create([job, searched, term, exact] {
        *job = NotebookSearch::find(*searched, term, exact, CodePage::system());
    });
    connect(worker, &QThread::finished, this, [this, job, searched, asked] {
        worker->deleteLater();
        worker = nullptr;
        zeigeTreffer(std::move(*job), std::move(*searched), asked);
        delete job;
        delete searched;
        if (std::exchange(searchAgain, false))
            suche();
    });
    worker->start();
}

void FindWindow::zeigeTreffer(std::vector<NotebookSearch::Hit> found, PageList pages, std::uint64_t asked)
{
    if (asked != generation)
        return;
    hits->reset(std::move(found), std::move(pages), static_cast<std::size_t>(field->text().size()));
    if (hitCount() > 0)
        list->setCurrentIndex(hits->index(0));
    sageAnzahl();
}

// Said in the window itself, and read out when it changes.
void FindWindow::sageAnzahl()
{
    const QString word = field->text();
    QString said;
    if (word.isEmpty())
        said = QString();
    else if (hitCount() == 0)
        said = QStringLiteral("No page holds '%1'.").arg(word);
    else
        said = QStringLiteral("%1 %2 '%3'.")
                   .arg(hitCount())
                   .arg(hitCount() == 1 ? QStringLiteral("page holds") : QStringLiteral("pages hold"), word);
    if (said == count->text())
        return;
    count->setText(said);
    QAccessibleEvent changed(count, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

// The page is looked at again: where the word is gone, the list is made
// anew and nothing else happens.
void FindWindow::geheZu(int row)
{
    if (row < 0 || row >= hitCount())
        return;
    const NotebookSearch::Hit chosen = hits->hit(row);
    const std::string term = suchwort();
    const PageList& pages = store.pages();
    const std::size_t index = static_cast<std::size_t>(chosen.page - 1);
    const std::string_view record =
        index < pages.size() ? std::string_view(pages[index].inhalt.data(), kPageLength) : std::string_view();
    const std::size_t at =
        NotebookSearch::findOnPage(record, term, matchCase->isChecked(), CodePage::system());
    if (at == std::string_view::npos) {
        suche();
        return;
    }
    emit pageChosen(chosen.page, NotebookSearch::editorPosition(record, at),
                    static_cast<int>(field->text().size()), field->text(), matchCase->isChecked());
}
