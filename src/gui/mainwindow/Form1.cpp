#include "Form1.h"

#include "FindWindow.h"
#include "MainWindowKeys.h"
#include "NotebookKeeper.h"
#include "PagePrinter.h"
#include "PageView.h"
#include "SearchPanel.h"
#include "SecondaryWindows.h"
#include "core/desktop/UserDialogs.h"
#include "core/store/CodePage.h"
#include "gui/common/NoticeWindow.h"
#include "gui/common/WindowGeometry.h"
#include "gui/options/StartOptions.h"
#include "gui/tray/TrayIcon.h"
#include "gui/tray/TrayPresence.h"
#include "gui/tray/WindowRoll.h"
#include "gui/tray/X11WindowHints.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <map>

Form1::Form1(Desktop& desktop_, QWidget* parent)
    : QWidget(parent, TrayPresence::windowFlags(desktop_.tray.host() != TrayHost::None))
    , desktop(desktop_)
    , dialogs(desktop_.dialogs)
{
    baue(*this, QString::fromLatin1(kCaption));
    notices = new NoticeWindow(*this);
    windowGeometry = new WindowGeometry(*this, kClientLeft, kClientTop);
    windowGeometry->placeAtDesignedPlace(kClientWidth, kClientHeight);
    auto closed = [this] { return unloaded; };
    roll = std::make_unique<WindowRoll>(*windowGeometry, *Command3, closed);
    presence = new TrayPresence(*this, desktop.tray, *popup_m, closed);
    view = std::make_unique<PageView>(*RichTextBox1, dialogs);
    search = std::make_unique<SearchPanel>(*this, *windowGeometry, *roll, dialogs, closed);
    printer = std::make_unique<PagePrinter>(desktop.printing, dialogs);
    dialogWindows = new SecondaryWindows(desktop.shell, dialogs, this);
    verbindeBefehle();
}

Form1::~Form1() = default;

void Form1::verbindeBefehle()
{
    for (const auto& [index, button] : Command1)
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command1_Click(index); });
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    onSearchClicked = [this] { Searchbutton_Click(0); };
    connect(presence, &TrayPresence::windowWanted, this, &Form1::Möffnen_Click);
    connect(dialogWindows, &SecondaryWindows::editorFontChosen, RichTextBox1, &QWidget::setFont);
    connect(notices, &NoticeWindow::waitingChanged, this, &Form1::zeigeWartendeHinweise);
    verbindeTippHinweise();
    connect(notices, &NoticeWindow::keyboardReturned, this, &Form1::nimmTastaturZurueck);
    const std::pair<const char*, void (Form1::*)()> entries[] = {
        {"mini", &Form1::mini_Click},
        {"Möffnen", &Form1::Möffnen_Click},
        {"options", &Form1::options_click},
        {"print", &Form1::print_click},
        {"about", &Form1::about_click},
        {"end", &Form1::end_click},
        {"findall", &Form1::zeigeSucheInAllenSeiten},
    };
    // Hidden while its menu is still closing, the window would be handed the
    // keyboard back a moment later, hidden, and screen readers would say so:
    // Minimize hides it once the menu has closed.
    for (const auto& [name, handler] : entries)
        connect(popup_m->findChild<QAction*>(QString::fromUtf8(name)), &QAction::triggered, this, handler,
                handler == &Form1::mini_Click ? Qt::QueuedConnection : Qt::AutoConnection);
    auto press = [](QPushButton* button) { return [button] { button->click(); }; };
    MainWindowKeys::install(*this, *RichTextBox1, *popup_m,
                            {press(Command1[1]), press(Command1[2]), press(Command1[4]), press(Command1[3]),
                             press(Command3), [this] { sucheWeiter(); }, [this] { print_click(); },
                             [this] { end_click(); }, [this] { gehWeiter(true); },
                             [this] { gehWeiter(false); }, [this] { zeigeSucheInAllenSeiten(); }});
}

// Qt draws the focus frame only after the keyboard, not a click, moved the
// focus; a shortcut's move counts as a click unless said otherwise.
void Form1::gehWeiter(bool forward)
{
    // From the page the keyboard goes on to the notices first.
    if (forward && RichTextBox1->hasFocus() && notices->takeKeyboard())
        return;
    setAttribute(Qt::WA_KeyboardFocusChange);
    if (forward)
        focusNextChild();
    else
        focusPreviousChild();
}

BusinessDataTier& Form1::pageStore()
{
    if (!store)
        store = std::make_unique<BusinessDataTier>(dialogs);
    return *store;
}

bool Form1::Form_Load()
{
    // A hidden window without a tray icon could not be reached again.
    StartOptions::apply(*this, *RichTextBox1, presence->hasTray(), dialogs);
    X11WindowHints::sendNow();
    maskeAnzeigen();
    ladeSeiten();
    if (!pagesRead)
        return false;
    TaskBarAddIcon();
    Label1->setText(QStringLiteral("Down"));
    benenneSeite();
    return true;
}

bool Form1::Form_Unload()
{
    if (unloaded)
        return true;
    // A notebook that could not be read is never written over.
    if (pagesRead && !sichern())
        return false;
    unloaded = true;
    emit ended();
    return true;
}

void Form1::endWithoutAsking()
{
    if (unloaded)
        return;
    if (pagesRead) {
        maskeSpeichern();
        saveWithoutAsking();
    }
    TaskBarRemoveIcon();
    unloaded = true;
    emit ended();
}

void Form1::saveWithoutAsking()
{
    if (keeper && pagesRead)
        keeper->saveWithoutAsking();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->setAccepted(Form_Unload());
}

void Form1::end_click()
{
    close();
}

// Only a notebook that was read is kept: one we could not read is never
// written over.
void Form1::ladeSeiten()
{
    keeper = new NotebookKeeper(pageStore(), dialogs, this);
    connect(keeper, &NotebookKeeper::pagesWanted, this, &Form1::maskeSpeichern);
    connect(keeper, &NotebookKeeper::pagesReloaded, this, &Form1::zeigeNeuGeladen);
    connect(keeper, &NotebookKeeper::notice, notices,
            [this](const QString& kind, const QString& text) { notices->post(kind, text); });
    connect(keeper, &NotebookKeeper::noticeOver, notices, &NoticeWindow::dismiss);
    // What is typed is in the pages at once, for an end that cannot ask.
    connect(RichTextBox1, &QPlainTextEdit::textChanged, this, [this] {
        if (!view->showing())
            maskeSpeichern();
    });
    connect(RichTextBox1, &QPlainTextEdit::textChanged, keeper, &NotebookKeeper::typed);
    pagesRead = keeper->loadAtStart();
    if (pagesRead)
        maskeAnzeigen();
}

void Form1::postNotice(const QString& kind, const QString& text)
{
    notices->post(kind, text);
}

// From a notice or the find window, the keyboard comes back to the page.
void Form1::nimmTastaturZurueck()
{
    if (isHidden() || unloaded)
        return;
    activateWindow();
    RichTextBox1->setFocus(Qt::TabFocusReason);
}

void Form1::zeigeSucheInAllenSeiten()
{
    if (!findWindow) {
        findWindow = std::make_unique<FindWindow>(pageStore());
        connect(findWindow.get(), &FindWindow::pageChosen, this, &Form1::geheZuFund);
        connect(findWindow.get(), &FindWindow::closed, this, &Form1::nimmTastaturZurueck);
    }
    findWindow->open();
}

// The page is shown as a page button shows one, the word selected as the
// panel's search selects it; F3 finds its next place there.
void Form1::geheZuFund(std::int16_t page, int position, int length, const QString& word, bool matchCase)
{
    maskeSpeichern();
    pageStore().moveTo(page);
    if (isHidden())
        Möffnen_Click();
    maskeAnzeigen();
    benenneSeite();
    QTextCursor cursor = RichTextBox1->textCursor();
    cursor.setPosition(position);
    cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    RichTextBox1->setTextCursor(cursor);
    raise();
    activateWindow();
    found = {word, matchCase, page, pageStore().timesRead()};
}

// After a page found in all pages, F3 goes on in it until the page changes.
void Form1::sucheWeiter()
{
    if (found.word.isEmpty() || found.page != pageStore().currentPage() ||
        found.read != pageStore().timesRead()) {
        found = {};
        search->findAgain();
        return;
    }
    search->findNextOf(found.word, found.matchCase);
}

// What the page refuses or changes as it is typed is told at once, and the
// notice goes by itself, or at the next character taken.
void Form1::verbindeTippHinweise()
{
    const QString kind = QStringLiteral("typing");
    PageEditor* page = RichTextBox1;
    connect(page, &PageEditor::characterNotKept, this, [this, kind](const QString& character) {
        notices->post(
            kind,
            QStringLiteral("\"%1\" cannot be kept: this notebook keeps its pages in %2, which has no "
                           "such character. The page keeps a \"?\" in its place.")
                .arg(character, QString::fromStdString(CodePage::systemName())),
            kTypingNoticeMs);
    });
    connect(page, &PageEditor::pageFull, this, [this, kind] {
        notices->post(kind,
                      QStringLiteral("This page is full: a page holds %1 characters. Next starts a new page.")
                          .arg(kPageLength),
                      kTypingNoticeMs);
    });
    connect(page, &PageEditor::characterKept, notices, [this, kind] { notices->dismiss(kind); });
}

// Notices wait where the window is hidden: the tray's tip says so.
void Form1::zeigeWartendeHinweise()
{
    const bool waiting = notices->count() > 0 && isHidden();
    presence->setToolTip(QString::fromLatin1(waiting ? "Kelmo-Note: a notice is waiting" : kCaption));
}

// Another program changed the notebook: the page is shown as it is now,
// and the user goes on typing where they were.
void Form1::zeigeNeuGeladen()
{
    view->showAgain(pageStore());
    benenneSeite();
}

bool Form1::sichern()
{
    return speichereSeiten();
}

bool Form1::speichereSeiten()
{
    maskeSpeichern();
    TaskBarRemoveIcon();
    if (!keeper->saveAtEnd()) {
        // The program goes on, so it must stay reachable.
        TaskBarAddIcon();
        return false;
    }
    dialogWindows->closeAll();
    return true;
}

void Form1::maskeSpeichern()
{
    view->store(pageStore());
}

void Form1::maskeAnzeigen()
{
    view->show(pageStore());
    RichTextBox1->setFocus();
}

void Form1::benenneSeite()
{
    RichTextBox1->setAccessibleName(
        QStringLiteral("Page %1 of %2").arg(pageStore().currentPage()).arg(pageStore().pageCount()));
}

void Form1::Command1_Click(std::int16_t Index)
{
    static const std::map<std::int16_t, void (BusinessDataTier::*)()> moves = {
        {1, &BusinessDataTier::zurueck}, {2, &BusinessDataTier::vor},      {3, &BusinessDataTier::letzter},
        {4, &BusinessDataTier::erster},  {6, &BusinessDataTier::entferne},
    };
    maskeSpeichern();
    auto place = [this] { return std::pair{pageStore().currentPage(), pageStore().pageCount()}; };
    const auto before = place();
    if (const auto move = moves.find(Index); move != moves.end())
        (pageStore().*(move->second))();
    // Where the page stays (no page before the first, a delete answered No),
    // so does the caret.
    if (place() == before)
        view->showAgain(pageStore());
    else
        view->show(pageStore());
    // Named before it takes the keyboard: a screen reader reads the name the
    // page has as the keyboard comes to it.
    benenneSeite();
    RichTextBox1->setFocus();
    if (keeper)
        keeper->typed();
}

void Form1::Command3_Click()
{
    search->toggle([this](std::int16_t minHeight) { RollUpWindow(*this, minHeight); },
                   [this](std::int16_t maxHeight) { RollDownWindow(*this, maxHeight); });
}

void Form1::Searchbutton_Click([[maybe_unused]] std::int16_t Index)
{
    search->findNext();
}

void Form1::TaskBarAddIcon()
{
    presence->addIcon(QString::fromLatin1(kCaption));
}

void Form1::TaskBarRemoveIcon()
{
    presence->removeIcon();
}

void Form1::mini_Click()
{
    presence->hideWindow();
}

// Where the window stays (nothing on the desktop can minimise it), what is
// typed next goes on in the page, not to the button.
void Form1::Command2_Click()
{
    presence->hideWindow();
    RichTextBox1->setFocus();
}

void Form1::Möffnen_Click()
{
    presence->bringBack();
    RichTextBox1->setFocus();
}

// Where no tray icon carries the menu, the window itself offers it. The
// editor and the search field keep their own menus.
void Form1::contextMenuEvent(QContextMenuEvent* event)
{
    event->setAccepted(!presence->hasTray());
    if (event->isAccepted())
        popup_m->popup(event->globalPos());
}

void Form1::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    notices->ownerShown(false);
    zeigeWartendeHinweise();
    if (!event->spontaneous() && keeper && !unloaded)
        keeper->saveBetweenTimes();
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    windowGeometry->shown();
    presence->showing(event->spontaneous());
    notices->ownerShown(true);
    zeigeWartendeHinweise();
    if (keeper && !unloaded)
        keeper->lookAtFile();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    windowGeometry->moved();
    notices->follow();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
    notices->follow();
}

// The window keeps its own place and size and renews its place above every
// ordinary window, and the open dialogs above it.
void Form1::Form_Resize()
{
    windowGeometry->keepPlace();
    if (isVisible()) {
        raise();
        dialogWindows->raiseOpen();
    }
}

void Form1::RollUpWindow([[maybe_unused]] Form1& frm, std::int16_t MinHeight)
{
    roll->rollUp(MinHeight);
}

void Form1::RollDownWindow([[maybe_unused]] Form1& frm, std::int16_t MaxHeight)
{
    roll->rollDown(MaxHeight);
}

void Form1::options_click()
{
    dialogWindows->openOptions(RichTextBox1->font());
}

void Form1::about_click()
{
    dialogWindows->openAbout();
}

Form2* Form1::optionsDialog() const
{
    return dialogWindows->options();
}

Form3* Form1::aboutDialog() const
{
    return dialogWindows->about();
}

void Form1::print_click()
{
    printer->print(this, QString::fromLatin1(kCaption), RichTextBox1->document()->toRawText(),
                   RichTextBox1->font().pointSizeF());
}
