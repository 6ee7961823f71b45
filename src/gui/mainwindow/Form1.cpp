#include "Form1.h"

#include "NotebookKeeper.h"
#include "PageEditor.h"
#include "X11WindowHints.h"
#include "core/common/Twips.h"
#include "core/desktop/UserDialogs.h"
#include "core/mainwindow/EditorText.h"
#include "core/mainwindow/TextSearch.h"
#include "core/options/OptionsFile.h"
#include "core/store/CodePage.h"
#include "core/store/PageFile.h"
#include "core/tray/RollSteps.h"
#include "gui/about/Form3.h"
#include "gui/common/AccessibleWindow.h"
#include "gui/common/Artwork.h"
#include "gui/common/EnterKey.h"
#include "gui/common/HeldKeys.h"
#include "gui/common/Placement.h"
#include "gui/desktop/Printing.h"
#include "gui/options/Form2.h"
#include "gui/tray/TrayIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace {

// The designed window, in twips.
constexpr int kClientLeft = 11085;
constexpr int kClientTop = 330;
constexpr int kClientWidth = 4200;
constexpr int kClientHeight = 3375;
constexpr int kButtonTop = 2760;
constexpr int kButtonSide = 615;
constexpr int kPanelTop = 3360;
constexpr int kPanelHeight = 1215;

struct PageButton {
    std::int16_t index;
    const char* toolTip;
    const char* picture;
    int left;
};
// The page buttons; the search and minimise buttons sit between and after them.
constexpr PageButton kPageButtons[] = {
    {4, "First", "first", 4},  {1, "Previous", "previous", 600}, {2, "Next", "next", 1200},
    {3, "Last", "last", 1800}, {6, "Delete", "delete", 3000},
};

QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

std::u16string toU16(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Without a notification area the window keeps its taskbar entry, so that a
// hidden window can always be reached again.
Qt::WindowFlags mainWindowFlags(bool withTray)
{
    const Qt::WindowFlags frame =
        Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    return frame | (withTray ? Qt::Tool : Qt::Window);
}

} // namespace

Form1::Form1(Desktop& desktop_, QWidget* parent)
    : QWidget(parent, mainWindowFlags(desktop_.tray.host() != TrayHost::None))
    , desktop(desktop_)
    , dialoge(desktop_.dialogs)
    , hatTray(desktop_.tray.host() != TrayHost::None)
{
    baueFenster();
    connect(RichTextBox1, &PageEditor::textLeftOut, this, &Form1::meldeAusgelassen);
    desktop.tray.onActivated = [this](TrayActivation activation) { trayIcon_Activated(activation); };
    desktop.tray.onHostChanged = [this] { richteNachTray(); };
    desktop.tray.setMenu(popup_m);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, &Form1::beobachteBildschirm);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &Form1::passeEinSpaeter);
    for (QScreen* each : QGuiApplication::screens())
        beobachteBildschirm(each);
}

Form1::~Form1()
{
    desktop.tray.onActivated = nullptr;
    desktop.tray.onHostChanged = nullptr;
    desktop.tray.setMenu(nullptr);
    delete form2;
    delete form3;
}

BusinessDataTier& Form1::seitenSpeicher()
{
    if (!speicher)
        speicher = std::make_unique<BusinessDataTier>(dialoge);
    return *speicher;
}

// ---------------------------------------------------------------- make-up

void Form1::baueFenster()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(Artwork::icon(QStringLiteral("icon")));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    AccessibleWindow::presentAs(this, QAccessible::Window);

    RichTextBox1 = new PageEditor(this);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Placement::place(RichTextBox1, 480, 0, 3735, 2535);

    baueSuchfeld();

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Placement::place(Label1, 840, 5280, 855, 255);
    AccessibleWindow::hideFromScreenReaders(Label1);

    baueKnoepfe();
    baueBilder();
    baueMenue();
    setzeFokusReihenfolge();
    baueTastenkuerzel();
    platziereFenster();
}

void Form1::baueSuchfeld()
{
    Frame1 = new QGroupBox(QStringLiteral("Search for:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(Placement::designedFont());
    Placement::place(Frame1, 0, kPanelTop, 4215, kPanelHeight);
    // Out of view, the panel must not take the focus nor be read out: it is
    // shown only while the window rolls down and stays down.
    Frame1->hide();

    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(Frame1->title());
    Placement::place(Text1, 120, 240, 3975, 405);

    Check1 = new QCheckBox(QStringLiteral("big/ small letters"), Frame1);
    Check1->setObjectName(QStringLiteral("Check1"));
    Placement::place(Check1, 120, 720, 1815, 375);

    auto* search = new QPushButton(QStringLiteral("&Search"), Frame1);
    search->setObjectName(QStringLiteral("Searchbutton_0"));
    Placement::place(search, 2160, 720, 1935, 375);
    Searchbutton[0] = search;
    connect(search, &QPushButton::clicked, this, [this] { Searchbutton_Click(0); });
    EnterKey::pressesButton(search);
    new EnterKey(Text1, [search] { search->click(); });
}

void Form1::baueKnoepfe()
{
    auto pictureButton = [this](const QString& name, const char* toolTip, const char* picture, int left) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setToolTip(QString::fromLatin1(toolTip));
        button->setAccessibleName(button->toolTip());
        EnterKey::pressesButton(button);
        button->setIcon(Artwork::icon(QString::fromLatin1(picture)));
        button->setIconSize(QSize(32, 32));
        Placement::place(button, left, kButtonTop, kButtonSide, kButtonSide);
        return button;
    };
    for (const auto& page : kPageButtons) {
        QPushButton* button = pictureButton(QStringLiteral("Command1_%1").arg(page.index), page.toolTip,
                                            page.picture, page.left);
        Command1[page.index] = button;
        connect(button, &QPushButton::clicked, this, [this, index = page.index] { Command1_Click(index); });
    }
    Command3 = pictureButton(QStringLiteral("Command3"), "Search", "search", 2400);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    Command2 = pictureButton(QStringLiteral("Command2"), "Minimize", "minimize", 3600);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
}

void Form1::baueBilder()
{
    const qreal ratio = devicePixelRatioF();
    auto picture = [this, ratio](const QString& name, const QString& artwork, QSize pixels, int left, int top,
                                 int width, int height) {
        auto* image = new QLabel(this);
        image->setObjectName(name);
        image->setPixmap(Artwork::pixmap(artwork, pixels, ratio));
        Placement::place(image, left, top, width, height);
        image->lower();
        AccessibleWindow::hideFromScreenReaders(image);
    };
    // The rings of the binding, down the left edge beside the editor.
    const std::int16_t ringIndices[] = {6, 7, 8, 9, 10, 11, 0};
    for (int i = 0; i < 7; ++i)
        picture(QStringLiteral("Image1_%1").arg(ringIndices[i]), QStringLiteral("ring"), QSize(29, 25), 0,
                i * 360, 435, 375);
    picture(QStringLiteral("Image6"), QStringLiteral("ringend"), QSize(29, 18), 0, 2480, 435, 270);

    // The seam between the page and the buttons.
    const std::pair<const char*, int> bottomRow[] = {
        {"Image2", 0}, {"Image3", 0}, {"Image4", 0}, {"Image5", 0}, {"Image2", 1}, {"Image3", 1},
        {"Image4", 1}, {"Image5", 1}, {"Image5", 2}, {"Image5", 3}, {"Image5", 4},
    };
    for (int i = 0; i < 11; ++i)
        picture(QStringLiteral("%1_%2").arg(QLatin1String(bottomRow[i].first)).arg(bottomRow[i].second),
                QStringLiteral("stitch"), QSize(25, 10), 360 + i * 360, 2600, 375, 150);
}

void Form1::baueMenue()
{
    popup_m = new QMenu(QStringLiteral("Popup"), this);
    popup_m->setObjectName(QStringLiteral("popup_m"));
    auto entry = [this](const char* name, const QString& caption, void (Form1::*handler)()) {
        QAction* action = popup_m->addAction(caption);
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, handler);
    };
    entry("mini", QStringLiteral("Minimize"), &Form1::mini_Click);
    entry("Möffnen", QStringLiteral("Maxsimize"), &Form1::Möffnen_Click);
    popup_m->addSeparator()->setObjectName(QStringLiteral("hallo"));
    entry("options", QStringLiteral("Options"), &Form1::options_click);
    entry("print", QStringLiteral("Print"), &Form1::print_click);
    entry("about", QStringLiteral("About Kelmo-Note"), &Form1::about_click);
    popup_m->addSeparator()->setObjectName(QStringLiteral("we"));
    entry("end", QStringLiteral("End"), &Form1::end_click);
}

void Form1::setzeFokusReihenfolge()
{
    const QList<QWidget*> order = {RichTextBox1, Text1,       Check1,      Searchbutton[0],
                                   Command1[4],  Command1[1], Command1[2], Command1[3],
                                   Command3,     Command1[6], Command2};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::baueTastenkuerzel()
{
    // None repeats while its key is held: a held key must not append pages.
    HeldKeys::watch();
    auto shortcut = [this](QKeySequence keys, auto action, QWidget* scope = nullptr) {
        auto* result = new QShortcut(
            keys, scope ? scope : this, this,
            [action] {
                if (!HeldKeys::repeating())
                    action();
            },
            scope ? Qt::WidgetShortcut : Qt::WindowShortcut);
        result->setAutoRepeat(false);
    };
    auto press = [](QPushButton* button) { return [button] { button->click(); }; };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), press(Command1[1]));
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), press(Command1[2]));
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), press(Command1[4]));
    shortcut(QKeySequence(Qt::ALT | Qt::Key_End), press(Command1[3]));
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), press(Command3));
    shortcut(QKeySequence(Qt::Key_F3), [this] { sucheWeiter(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { print_click(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { end_click(); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] { zeigeMenueAmFenster(); });
    shortcut(QKeySequence(Qt::Key_Menu), [this] { zeigeMenueAmFenster(); });
    // Tab is a character on the page; Ctrl+Tab leaves it.
    shortcut(
        QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { focusNextChild(); }, RichTextBox1);
    shortcut(
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] { focusPreviousChild(); }, RichTextBox1);
}

void Form1::zeigeMenueAmFenster()
{
    QWidget* focus = focusWidget();
    if (focus == RichTextBox1) {
        // In the page the keys open the editor's own menu, as they always did.
        const QPoint caret = RichTextBox1->cursorRect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, caret,
                                RichTextBox1->viewport()->mapToGlobal(caret));
        QCoreApplication::sendEvent(RichTextBox1->viewport(), &event);
        return;
    }
    const QWidget* at = focus ? focus : this;
    popup_m->popup(at->mapToGlobal(at->rect().center()));
}

void Form1::sucheWeiter()
{
    if (Label1->text() != QLatin1String("Up")) {
        if (!Command3->isEnabled())
            return;
        Command3->click();
        if (istEntladen)
            return;
    }
    Searchbutton[0]->click();
}

void Form1::benenneSeite()
{
    RichTextBox1->setAccessibleName(
        QStringLiteral("Page %1 of %2").arg(seitenSpeicher().nr()).arg(seitenSpeicher().anzahlSeiten()));
}

QPoint Form1::berechnePlatz() const
{
    const QPoint screenOrigin = (screen() ? screen()->geometry().topLeft() : QPoint());
    return screenOrigin + QPoint(Twips::toPixels(kClientLeft, Placement::twipsPerPixelX(this)),
                                 Twips::toPixels(kClientTop, Placement::twipsPerPixelY(this)));
}

void Form1::platziereFenster()
{
    // The client area goes to its place on the screen, whatever frame the
    // window manager puts around it; where that does not fit, the window is
    // moved in once it is shown and its frame is known.
    const QSize client = Placement::size(this, kClientWidth, kClientHeight);
    eingepassterPlatz = berechnePlatz();
    setGeometry(QRect(eingepassterPlatz, client));
    setFixedSize(client);
}

void Form1::beobachteBildschirm(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, &Form1::passeEinSpaeter);
    connect(screen, &QScreen::availableGeometryChanged, this, &Form1::passeEinSpaeter);
    passeEinSpaeter();
}

void Form1::passeEinSpaeter()
{
    QTimer::singleShot(0, this, &Form1::passeEin);
}

void Form1::passeEin()
{
    if (istEntladen || !isVisible() || !screen())
        return;
    const QRect frame = frameGeometry();
    const QPoint clientOffset = geometry().topLeft() - frame.topLeft();
    const QPoint client = geometry().topLeft() == eingepassterPlatz ? berechnePlatz() : geometry().topLeft();
    const QRect room = screen()->availableGeometry();
    QPoint wanted = client - clientOffset;
    wanted.setX(std::clamp(wanted.x(), room.left(), std::max(room.left(), room.right() + 1 - frame.width())));
    wanted.setY(std::clamp(wanted.y(), room.top(), std::max(room.top(), room.bottom() + 1 - frame.height())));
    eingepassterPlatz = wanted + clientOffset;
    if (wanted != frame.topLeft())
        move(wanted);
}

void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (windowHandle())
        connect(windowHandle(), &QWindow::screenChanged, this, &Form1::passeEinSpaeter, Qt::UniqueConnection);
    passeEinSpaeter();
    // A show of our own comes before Qt maps the window; one from the window
    // manager comes after.
    if (!event->spontaneous())
        X11WindowHints::beforeMap(*this, hatTray);
    if (keeper && !istEntladen)
        keeper->lookAtFile();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    const QSize frame = frameGeometry().size() - size();
    if (frame != bekannterRahmen) {
        bekannterRahmen = frame;
        passeEinSpaeter();
    }
}

// ---------------------------------------------------------- start and end

bool Form1::Form_Load()
{
    optionenAnwenden();
    maskeAnzeigen();
    ladeSeiten();
    if (!seitenGelesen)
        return false;
    TaskBarAddIcon();
    Label1->setText(QStringLiteral("Down"));
    benenneSeite();
    return true;
}

void Form1::optionenAnwenden()
{
    Optionen options;
    if (auto error = OptionsFile::read(OptionsFile::kName, options)) {
        options = {};
        show();
        dialoge.tell("Kelmo Note",
                     fileErrorText("Kelmo-Note cannot read its options from", *error,
                                   "It starts with the usual settings; your pages are not affected."),
                     UserDialogs::Icon::Warning);
    }
    // A hidden window without a tray icon could not be reached again.
    if (OptionsFile::startsHidden(options.startVersteckt) && hatTray) {
        hide();
    } else {
        show();
        // openbox gives no focus of its own to a new window that keeps out
        // of the taskbar.
        activateWindow();
    }
    QFont font = RichTextBox1->font();
    if (const auto points = OptionsFile::pointSize(options.schriftGroesse))
        font.setPointSize(*points);
    if (const auto name = OptionsFile::fontName(options.schriftName))
        font.setFamily(QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size())));
    RichTextBox1->setFont(font);
}

bool Form1::Form_Unload()
{
    if (istEntladen)
        return true;
    // A notebook that could not be read is never written over.
    if (seitenGelesen && !sichern())
        return false;
    istEntladen = true;
    emit entladen();
    return true;
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (Form_Unload())
        event->accept();
    else
        event->ignore();
}

void Form1::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous() && keeper && !istEntladen)
        keeper->saveBetweenTimes();
}

void Form1::end_click()
{
    close();
}

void Form1::ladeSeiten()
{
    if (auto error = seitenSpeicher().leseDatei(PageFile::kName)) {
        meldeFehlerBeimLesen(*error);
        return;
    }
    seitenGelesen = true;
    maskeAnzeigen();
    behalteDatei();
}

// Only a notebook that was read is kept: one we could not read is never
// written over.
void Form1::behalteDatei()
{
    keeper = new NotebookKeeper(seitenSpeicher(), dialoge, this);
    connect(keeper, &NotebookKeeper::pagesWanted, this, &Form1::maskeSpeichern);
    connect(keeper, &NotebookKeeper::pagesReloaded, this, &Form1::maskeAnzeigen);
    connect(RichTextBox1, &QPlainTextEdit::textChanged, keeper, &NotebookKeeper::typed);
    keeper->watchFile();
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
    if (form2)
        form2->close();
    if (form3)
        form3->close();
    return true;
}

void Form1::meldeFehlerBeimLesen(const FileError& error)
{
    dialoge.tell("Kelmo Note",
                 fileErrorText("Kelmo-Note cannot open the notebook", error,
                               "Kelmo-Note ends now and leaves the file as it is."),
                 UserDialogs::Icon::Critical);
}

void Form1::meldeAusgelassen(int characters)
{
    dialoge.tell("Kelmo Note",
                 QStringLiteral("A page holds 2000 characters. %1 characters of what you pasted did not fit "
                                "and were left out.")
                     .arg(characters)
                     .toStdString(),
                 UserDialogs::Icon::Information);
}

// ------------------------------------------------- editor and page store

void Form1::maskeSpeichern()
{
    BusinessDataTier& store = seitenSpeicher();
    const QString text = RichTextBox1->document()->toRawText();
    if (text == angezeigterText)
        store.nachname(angezeigteSeite);
    else
        store.nachname(EditorText::toPage(toU16(text), CodePage::system(), RichTextBox1->lineBreak()));
}

void Form1::maskeAnzeigen()
{
    angezeigteSeite = seitenSpeicher().nachname();
    // The blanks that fill the record are not the user's text: a caret put
    // after them would write beyond the page.
    const std::u16string_view text = EditorText::withoutFill(angezeigteSeite);
    RichTextBox1->setLineBreak(EditorText::lineBreakOf(text));
    RichTextBox1->setPlainText(toQString(EditorText::fromPage(text)));
    angezeigterText = RichTextBox1->document()->toRawText();
    RichTextBox1->setFocus();
}

// ------------------------------------------------------------ navigation

void Form1::Command1_Click(std::int16_t Index)
{
    maskeSpeichern();
    BusinessDataTier& store = seitenSpeicher();
    switch (Index) {
    case 1:
        store.zurueck();
        break;
    case 2:
        store.vor();
        break;
    case 3:
        store.letzter();
        break;
    case 4:
        store.erster();
        break;
    case 6:
        store.entferne();
        break;
    default:
        break;
    }
    maskeAnzeigen();
    benenneSeite();
    if (keeper)
        keeper->typed();
}

// ------------------------------------------------------ tray and options

void Form1::TaskBarAddIcon()
{
    if (hatTray)
        desktop.tray.add(windowIcon(), QString::fromLatin1(kCaption));
}

void Form1::TaskBarRemoveIcon()
{
    if (hatTray)
        desktop.tray.remove();
}

void Form1::trayIcon_Activated(TrayActivation activation)
{
    switch (trayReaction(activation, desktop.tray.host())) {
    case TrayReaction::ShowWindow:
        Möffnen_Click();
        break;
    case TrayReaction::Nothing:
        break;
    }
}

void Form1::verstecke()
{
    if (hatTray)
        hide();
    else
        showMinimized();
}

void Form1::richteNachTray()
{
    const bool trayNow = desktop.tray.host() != TrayHost::None;
    if (trayNow == hatTray || istEntladen)
        return;
    hatTray = trayNow;
    const bool wasVisible = isVisible();
    const bool wasMinimized = isMinimized();
    // New flags unmap the window; the taskbar entry comes and goes with them.
    setWindowFlags(mainWindowFlags(hatTray));
    if (hatTray && seitenGelesen)
        TaskBarAddIcon();
    // A window hidden into a tray that has gone would be out of reach. The
    // panel that held the tray mostly held the taskbar too, so it comes back
    // whole rather than minimised.
    if (!hatTray) {
        if (!wasVisible || wasMinimized)
            Möffnen_Click();
        else
            show();
    } else if (wasVisible && !wasMinimized) {
        show();
    }
}

void Form1::contextMenuEvent(QContextMenuEvent* event)
{
    // Where no tray icon carries the menu, the window itself offers it. The
    // editor and the search field keep their own menus.
    if (hatTray) {
        event->ignore();
        return;
    }
    popup_m->popup(event->globalPos());
    event->accept();
}

void Form1::mini_Click()
{
    verstecke();
}

void Form1::Möffnen_Click()
{
    // Also undoes a minimise by the window manager, which show() alone
    // leaves in place. Shown first: undoing the minimise of a hidden window
    // maps it at once, before the window states that go with a show are set.
    show();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    RichTextBox1->setFocus();
}

void Form1::Command2_Click()
{
    verstecke();
}

void Form1::options_click()
{
    if (!form2) {
        form2 = new Form2(RichTextBox1->font(), dialoge);
        connect(form2, &Form2::editorFontChosen, RichTextBox1, &QWidget::setFont);
        form2->Form_Load();
    }
    form2->show();
    form2->raise();
    form2->activateWindow();
}

Form2* Form1::optionsDialog() const
{
    return form2;
}

// ------------------------------------------------ search panel and window

void Form1::Command3_Click()
{
    // The focus moves before the roll blocks this button, so that it never
    // passes on to the next button in the row.
    if (Label1->text() == QLatin1String("Up")) {
        RichTextBox1->setFocus();
        const float target = berechneHoehe(kClientHeight);
        RollUpWindow(*this, RollSteps::minHeightFor(Height(), target, Placement::twipsPerPixelY(this)));
        if (istEntladen)
            return;
        setzeHoehe(target);
        Frame1->hide();
        Label1->setText(QStringLiteral("Down"));
        Text1->setText(QString());
    } else {
        Frame1->show();
        Text1->setFocus();
        const float target = berechneHoehe(kPanelTop + kPanelHeight);
        RollDownWindow(*this, RollSteps::maxHeightFor(Height(), target, Placement::twipsPerPixelY(this)));
        if (istEntladen)
            return;
        setzeHoehe(target);
        Label1->setText(QStringLiteral("Up"));
    }
}

void Form1::setzeHoehe(float height)
{
    // The rest of the roll, the search button still blocked.
    Command3->setEnabled(false);
    Move(Left(), Top(), Width(), height);
    Command3->setEnabled(true);
}

float Form1::berechneHoehe(int clientTwips) const
{
    // Whole steps leave less than one step over; the last move takes it.
    const int frame = frameGeometry().height() - height();
    return static_cast<float>(clientTwips + frame * Placement::twipsPerPixelY(this));
}

void Form1::RollUpWindow(Form1& frm, std::int16_t MinHeight)
{
    Command3->setEnabled(false);
    rolle(frm, static_cast<std::int16_t>(
                   -RollSteps::up(frm.Height(), MinHeight, Placement::twipsPerPixelY(this))));
    if (!istEntladen)
        Command3->setEnabled(true);
}

void Form1::RollDownWindow(Form1& frm, std::int16_t MaxHeight)
{
    Command3->setEnabled(false);
    rolle(frm, RollSteps::down(frm.Height(), MaxHeight, Placement::twipsPerPixelY(this)));
    if (!istEntladen)
        Command3->setEnabled(true);
}

void Form1::rolle(Form1& frm, std::int16_t step)
{
    // Each step re-reads the geometry, so a move by the user in between
    // survives; the events between steps may also close the window, and
    // then the closed window is left alone.
    for (int i = 0; i < RollSteps::kCount && !istEntladen; ++i) {
        frm.Move(frm.Left(), frm.Top(), frm.Width(), frm.Height() + static_cast<float>(step));
        QCoreApplication::processEvents();
    }
}

float Form1::Left() const
{
    return Twips::current(frameGeometry().x(), gesetztLinks,
                          static_cast<float>(Placement::twipsPerPixelX(this)));
}

float Form1::Top() const
{
    return Twips::current(frameGeometry().y(), gesetztOben,
                          static_cast<float>(Placement::twipsPerPixelY(this)));
}

// The user cannot resize the window, so once set, its size is the one it was
// given. Reading it back from the window would not do: under X11 the window
// reports its sizes late, and a late report in the middle of a roll would
// send the next steps astray.
float Form1::Width() const
{
    return gesetztBreite >= 0 ? gesetztBreite
                              : static_cast<float>(frameGeometry().width() * Placement::twipsPerPixelX(this));
}

float Form1::Height() const
{
    return gesetztHoehe >= 0 ? gesetztHoehe
                             : static_cast<float>(frameGeometry().height() * Placement::twipsPerPixelY(this));
}

void Form1::Move(float left, float top, float width, float height)
{
    gesetztLinks = left;
    gesetztOben = top;
    gesetztBreite = width;
    gesetztHoehe = height;
    const QRect frame = frameGeometry();
    const QSize decoration = frame.size() - size();
    const QPoint place(Twips::toPixels(left, Placement::twipsPerPixelX(this)),
                       Twips::toPixels(top, Placement::twipsPerPixelY(this)));
    const QSize outer(Twips::toPixels(width, Placement::twipsPerPixelX(this)),
                      Twips::toPixels(height, Placement::twipsPerPixelY(this)));
    if (place != frame.topLeft())
        move(place);
    const QSize client = (outer - decoration).expandedTo(QSize(1, 1));
    if (client != size())
        setFixedSize(client);
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Resize()
{
    // The window keeps its own place and size and renews its place above
    // every ordinary window.
    const QRect wanted(Twips::toPixels(Left(), Placement::twipsPerPixelX(this)),
                       Twips::toPixels(Top(), Placement::twipsPerPixelY(this)),
                       Twips::toPixels(Width(), Placement::twipsPerPixelX(this)),
                       Twips::toPixels(Height(), Placement::twipsPerPixelY(this)));
    if (wanted.topLeft() != frameGeometry().topLeft())
        move(wanted.topLeft());
    if (isVisible()) {
        raise();
        hebeDialogeHervor();
    }
}

void Form1::hebeDialogeHervor()
{
    for (QWidget* dialog : {static_cast<QWidget*>(form2.data()), static_cast<QWidget*>(form3.data())})
        if (dialog && dialog->isVisible())
            dialog->raise();
}

void Form1::Searchbutton_Click([[maybe_unused]] std::int16_t Index)
{
    const QString term = Text1->text();
    QTextCursor cursor = RichTextBox1->textCursor();
    const TextSearch::Selection current{cursor.selectionStart(),
                                        cursor.selectionEnd() - cursor.selectionStart()};
    const TextSearch::Result result = TextSearch::next(toU16(RichTextBox1->document()->toRawText()),
                                                       toU16(term), Check1->isChecked(), current);
    cursor.setPosition(result.selection.start);
    cursor.setPosition(result.selection.start + result.selection.length, QTextCursor::KeepAnchor);
    RichTextBox1->setTextCursor(cursor);
    if (!result.found)
        dialoge.tell("Kelmo Note", ("Sorry, no '" + term + "' was found").toStdString(),
                     UserDialogs::Icon::None);
    RichTextBox1->setFocus();
}

Form3* Form1::aboutDialog() const
{
    return form3;
}

void Form1::about_click()
{
    if (!form3)
        form3 = new Form3(desktop.shell, dialoge);
    form3->show();
    form3->raise();
    form3->activateWindow();
}

// ---------------------------------------------------------------- printing

void Form1::print_click()
{
    const std::optional<int> copies = desktop.printing.askForCopies(this);
    if (!copies)
        return;
    PrintJob job;
    job.lines = {{QString::fromLatin1(kCaption), 20}, {QString(), 20}};
    const qreal size = RichTextBox1->font().pointSizeF();
    for (const QString& line : RichTextBox1->document()->toRawText().split(QChar::ParagraphSeparator))
        job.lines.append({line, size});
    if (const auto failure = desktop.printing.print(job, *copies))
        dialoge.tell("Kelmo Note",
                     QStringLiteral("Printing failed: %1.\n\nThe copy in progress was cancelled.")
                         .arg(*failure)
                         .toStdString(),
                     UserDialogs::Icon::Warning);
}
