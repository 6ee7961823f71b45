#include "Form1.h"

#include "FindInAllPages.h"
#include "MainWindowKeys.h"
#include "NotebookSession.h"
#include "PagePrinter.h"
#include "SearchPanel.h"
#include "SecondaryWindows.h"
#include "TypingNotices.h"
#include "core/common/Product.h"
#include "gui/common/NoticeWindow.h"
#include "gui/common/WindowGeometry.h"
#include "gui/options/StartOptions.h"
#include "gui/tray/TrayIcon.h"
#include "gui/tray/TrayPresence.h"
#include "gui/tray/WindowRoll.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

Form1::Form1(Desktop& desktop_, QWidget* parent)
    : QWidget(parent, TrayPresence::windowFlags(desktop_.tray.host() != TrayHost::None))
    , desktop(desktop_)
    , dialogs(desktop_.dialogs)
{
    buildInto(*this, QString::fromLatin1(Product::kName));
    notices = new NoticeWindow(*this);
    new TypingNotices(*RichTextBox1, *notices);
    windowGeometry = new WindowGeometry(*this, kClientLeft, kClientTop);
    windowGeometry->placeAtDesignedPlace(kClientWidth, kClientHeight);
    roll = std::make_unique<WindowRoll>(*windowGeometry, *Command3);
    presence = new TrayPresence(*this, desktop.tray, *popup_m);
    session = new NotebookSession(*RichTextBox1, dialogs, this);
    allPages = new FindInAllPages(*session, this);
    search = new SearchPanel({*this, *RichTextBox1, *Label1, *Command3, *windowGeometry, *roll}, *allPages,
                             dialogs);
    printer = std::make_unique<PagePrinter>(desktop.printing, dialogs);
    dialogWindows = new SecondaryWindows(desktop.shell, dialogs, this);
    verbindeBefehle();
    verbindeTasten();
}

Form1::~Form1() = default;

void Form1::verbindeBefehle()
{
    for (const auto& [index, button] : Command1)
        connect(button, &QPushButton::clicked, this, [this, index = index] { Command1_Click(index); });
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(search, &SearchPanel::searchClicked, this, [this] { Searchbutton_Click(0); });
    connect(presence, &TrayPresence::windowWanted, this, &Form1::Möffnen_Click);
    connect(dialogWindows, &SecondaryWindows::editorFontChosen, RichTextBox1, &QWidget::setFont);
    connect(notices, &NoticeWindow::waitingChanged, presence, &TrayPresence::noticesWaiting);
    connect(notices, &NoticeWindow::keyboardReturned, this, &Form1::nimmTastaturZurueck);
    connect(session, &NotebookSession::notice, this, &Form1::postNotice);
    connect(session, &NotebookSession::noticeOver, notices, &NoticeWindow::dismiss);
    connect(allPages, &FindInAllPages::pageChosen, this, &Form1::geheZuFund);
    connect(allPages, &FindInAllPages::closed, this, &Form1::nimmTastaturZurueck);
    connect(this, &Form1::ended, presence, &TrayPresence::end);
    connect(this, &Form1::ended, this, [this] { roll->stop(); });
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
}

void Form1::verbindeTasten()
{
    auto press = [](QPushButton* button) { return [button] { button->click(); }; };
    MainWindowKeys::install(*this, *RichTextBox1, *popup_m,
                            {press(Command1[1]), press(Command1[2]), press(Command1[4]), press(Command1[3]),
                             press(Command3), [this] { search->findAgain(); }, [this] { print_click(); },
                             [this] { end_click(); }, [this] { allPages->open(); },
                             [this] { return notices->takeKeyboard(); }});
}

bool Form1::Form_Load()
{
    // A hidden window without a tray icon could not be reached again.
    StartOptions::apply(*this, *RichTextBox1, presence->hasTray(), dialogs);
    presence->started();
    maskeAnzeigen();
    if (!ladeSeiten())
        return false;
    TaskBarAddIcon();
    Label1->setText(QStringLiteral("Down"));
    return true;
}

// Only a notebook that was read is kept: one we could not read is never
// written over.
bool Form1::ladeSeiten()
{
    if (!session->load())
        return false;
    maskeAnzeigen();
    return true;
}

bool Form1::Form_Unload()
{
    if (unloaded)
        return true;
    // A notebook that could not be read is never written over.
    if (session->wasRead() && !sichern())
        return false;
    beende();
    return true;
}

void Form1::beende()
{
    unloaded = true;
    emit ended();
}

void Form1::endWithoutAsking()
{
    if (unloaded)
        return;
    if (session->wasRead()) {
        maskeSpeichern();
        saveWithoutAsking();
    }
    TaskBarRemoveIcon();
    beende();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->setAccepted(Form_Unload());
}

// From a notice or the find window, the keyboard comes back to the page.
void Form1::nimmTastaturZurueck()
{
    if (isHidden() || unloaded)
        return;
    activateWindow();
    RichTextBox1->setFocus(Qt::TabFocusReason);
}

// The page is shown as a page button shows one, the word selected as the
// panel's search selects it.
void Form1::geheZuFund(std::int16_t page, int position, int length)
{
    if (isHidden())
        Möffnen_Click();
    session->goTo(page, position, length);
    RichTextBox1->setFocus();
    raise();
    activateWindow();
}

bool Form1::speichereSeiten()
{
    maskeSpeichern();
    TaskBarRemoveIcon();
    if (!session->saveAtEnd()) {
        // The program goes on, so it must stay reachable.
        TaskBarAddIcon();
        return false;
    }
    dialogWindows->closeAll();
    return true;
}

void Form1::maskeAnzeigen()
{
    session->showPage();
    RichTextBox1->setFocus();
}

void Form1::Command1_Click(std::int16_t Index)
{
    session->turn(Index);
    RichTextBox1->setFocus();
}

void Form1::TaskBarAddIcon()
{
    presence->addIcon(QString::fromLatin1(Product::kName));
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
    if (!event->spontaneous())
        session->windowHidden();
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    session->windowShown();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
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

void Form1::print_click()
{
    printer->print(this, QString::fromLatin1(Product::kName), RichTextBox1->document()->toRawText(),
                   RichTextBox1->font().pointSizeF());
}
