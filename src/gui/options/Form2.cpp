#include "Form2.h"

#include "core/common/Product.h"
#include "core/desktop/UserDialogs.h"
#include "core/options/OptionsFile.h"
#include "gui/common/AccessibleWindow.h"
#include "gui/common/Artwork.h"
#include "gui/common/Placement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScreen>

namespace {

constexpr int kClientWidth = 3195;
constexpr int kClientHeight = 2295;

} // namespace

Form2::Form2(const QFont& editorFont_, UserDialogs& dialogs_)
    : DialogWindow(QStringLiteral("Form2"), QStringLiteral("Options"), QStringLiteral("options"))
    , editorFont(editorFont_)
    , dialogs(dialogs_)
{
    baueFenster();
}

void Form2::baueFenster()
{
    Label1 = new QLabel(QStringLiteral("Options"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading(QStringLiteral("MS Sans Serif"));
    heading.setPointSize(24);
    heading.setWeight(QFont::Normal);
    Label1->setFont(heading);
    Placement::place(Label1, 240, 240, 1665, 555);
    Label1->adjustSize();

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Placement::place(Image1, 2280, 120, 720, 720);
    Image1->setPixmap(Artwork::pixmap(QStringLiteral("options"), devicePixelRatioF()));
    AccessibleWindow::hideFromScreenReaders(Image1);

    Check1 = new QCheckBox(QStringLiteral("Start Kelmo-Note in the Taskbar!"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Placement::place(Check1, 240, 1080, 4095, 255);

    Label2 = new QLabel(QStringLiteral("Fontsize:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Placement::place(Label2, 240, 1560, 630, 195);
    Label2->adjustSize();

    Label3 = new QLabel(QStringLiteral("Fontname:"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Placement::place(Label3, 1320, 1560, 975, 255);

    Combo1 = baueAuswahl(QStringLiteral("Combo1"), 240, 1800, 855, 315);
    Combo2 = baueAuswahl(QStringLiteral("Combo2"), 1320, 1800, 1695, 315);
    connect(Combo1, &QComboBox::activated, this, [this] {
        if (!typingEnds)
            Combo1_Click();
    });
    connect(Combo2, &QComboBox::activated, this, [this] {
        if (!typingEnds)
            Combo2_Click();
    });
    Label2->setBuddy(Combo1);
    Label3->setBuddy(Combo2);

    setTabOrder(Check1, Combo1);
    setTabOrder(Combo1, Combo2);

    resize(Placement::size(this, kClientWidth, kClientHeight));
}

QComboBox* Form2::baueAuswahl(const QString& name, int left, int top, int width, int height)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setEditable(true);
    // Only picking an entry applies it: typed text is stored when the dialog
    // closes, never applied on the way.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->installEventFilter(this);
    combo->lineEdit()->installEventFilter(this);
    Placement::place(combo, left, top, width, height);
    return combo;
}

void Form2::Form_Load()
{
    for (std::int16_t index = 1; OptionsFile::fontName(index); ++index)
        Combo2->addItem(QString::fromUtf8(OptionsFile::fontName(index)->data(),
                                          static_cast<qsizetype>(OptionsFile::fontName(index)->size())));
    for (std::int16_t index = 1; OptionsFile::pointSize(index); ++index)
        Combo1->addItem(QString::number(*OptionsFile::pointSize(index)));
    Combo1->setCurrentIndex(-1);
    Combo2->setCurrentIndex(-1);

    Options options;
    if (auto error = OptionsFile::read(OptionsFile::kName, options)) {
        dialogs.tell(Product::kMessageTitle,
                     fileErrorText("Kelmo-Note cannot read its options from", *error,
                                   "The dialog shows no stored choice."),
                     UserDialogs::Icon::Warning);
        options = {};
    }
    Check1->setChecked(OptionsFile::startsHidden(options.startHidden));
    if (OptionsFile::pointSize(options.fontSize))
        Combo1->setCurrentIndex(options.fontSize - 1);
    if (OptionsFile::fontName(options.fontName))
        Combo2->setCurrentIndex(options.fontName - 1);
}

void Form2::Form_Unload()
{
    if (unloaded)
        return;
    unloaded = true;
    Options options;
    options.startHidden = Check1->isChecked() ? 1 : 0;
    options.fontSize = OptionsFile::sizeIndex(Combo1->currentText().toStdString());
    options.fontName = OptionsFile::nameIndex(Combo2->currentText().toStdString());
    if (auto error = OptionsFile::write(OptionsFile::kName, options))
        dialogs.tell(Product::kMessageTitle,
                     fileErrorText("Kelmo-Note could not store its options in", *error,
                                   "Your pages are not affected."),
                     UserDialogs::Icon::Warning);
}

void Form2::Combo1_Click()
{
    if (const auto points = OptionsFile::number(Combo1->currentText().toStdString()); points && *points > 0) {
        editorFont.setPointSizeF(*points);
        emit editorFontChosen(editorFont);
    }
}

void Form2::Combo2_Click()
{
    editorFont.setFamily(Combo2->currentText());
    emit editorFontChosen(editorFont);
}

void Form2::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    // Typing ends with Enter, Tab or a click elsewhere, and the combo box then
    // selects the entry that equals the typed text.
    const auto* key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent*>(event) : nullptr;
    const bool ends = event->type() == QEvent::FocusOut ||
                      (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter));
    if (!ends || typingEnds)
        return QWidget::eventFilter(watched, event);
    const QScopedValueRollback<bool> ending(typingEnds, true);
    watched->event(event);
    return true;
}

// The check box is first in the focus order, with the keyboard and its
// focus mark from the start.
void Form2::shownByProgram()
{
    setAttribute(Qt::WA_KeyboardFocusChange);
    Check1->setFocus(Qt::TabFocusReason);
}
