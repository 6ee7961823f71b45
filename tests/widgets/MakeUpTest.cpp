#include "FormFixture.h"
#include "gui/about/Form3.h"
#include "gui/common/AccessibleWindow.h"
#include "gui/common/Artwork.h"
#include "gui/common/DrawnPicture.h"
#include "gui/common/Placement.h"
#include "gui/mainwindow/FindWindow.h"
#include "gui/options/Form2.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QBuffer>
#include <QComboBox>
#include <QImageReader>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

// Every control of every window, at whatever resolution this run's screen has
// (ctest runs these at 96 and 192 DPI and scaled by two): the texts are whole
// and no control lies on another.
namespace {

using MakeUp = FormFixture;

// The design lays the borders of neighbouring controls on each other, by up
// to 19 twips; a shared border is no overlap.
constexpr double kSharedBorderTwips = 20.0;

// The part of a control that its window shows, in the window's coordinates.
QRect shownPart(const QWidget* control)
{
    const QWidget* window = control->window();
    QRect shown(control->mapTo(window, QPoint()), control->size());
    for (const QWidget* outer = control->parentWidget(); outer; outer = outer->parentWidget())
        shown &= QRect(outer == window ? QPoint() : outer->mapTo(window, QPoint()), outer->size());
    return shown;
}

// Where a label's text stands, in its own coordinates.
QRect textRect(const QLabel* label)
{
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0) |
                      Qt::TextShowMnemonic;
    return label->fontMetrics().boundingRect(label->contentsRect(), flags, label->text());
}

// The room a control needs to show its text whole.
std::optional<QSize> needed(const QWidget* control)
{
    const int line = control->fontMetrics().height();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text().isEmpty() ? std::nullopt : std::optional(textRect(label).size());
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().isEmpty()
                   ? button->iconSize()
                   : QSize(button->sizeHint().width(), std::max(line, button->iconSize().height()));
    if (qobject_cast<const QComboBox*>(control) || qobject_cast<const QTabBar*>(control))
        return QSize(control->sizeHint().width(), line);
    if (const auto* group = qobject_cast<const QGroupBox*>(control))
        return QSize(group->minimumSizeHint().width(), line);
    if (qobject_cast<const QLineEdit*>(control) || qobject_cast<const QAbstractScrollArea*>(control))
        return QSize(0, line);
    return std::nullopt;
}

bool isWholeControl(const QWidget* control)
{
    return qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QComboBox*>(control) ||
           qobject_cast<const QTabBar*>(control) || qobject_cast<const QLineEdit*>(control) ||
           qobject_cast<const QAbstractScrollArea*>(control) || qobject_cast<const QLabel*>(control);
}

// What a control covers of its parent: a label only its text.
QRect covered(const QWidget* control)
{
    if (const auto* label = qobject_cast<const QLabel*>(control); label && !label->text().isEmpty())
        return textRect(label).translated(label->pos());
    return control->geometry();
}

void checkControls(const QWidget* container, QStringList& faults)
{
    const int border = static_cast<int>(std::ceil(kSharedBorderTwips / Placement::twipsPerPixelX(container)));
    QList<const QWidget*> siblings;
    for (const QObject* object : container->children()) {
        const auto* control = qobject_cast<const QWidget*>(object);
        if (!control || control->isWindow() || !control->isVisibleTo(container->window()) ||
            shownPart(control).isEmpty())
            continue;
        const QString name = control->objectName().isEmpty()
                                 ? QString::fromLatin1(control->metaObject()->className())
                                 : control->objectName();
        if (const auto need = needed(control); need) {
            const QSize room = shownPart(control).size();
            if (need->width() > room.width() || need->height() > room.height())
                faults << QStringLiteral("%1 needs %2x%3 and shows %4x%5")
                              .arg(name)
                              .arg(need->width())
                              .arg(need->height())
                              .arg(room.width())
                              .arg(room.height());
        }
        if (!isWholeControl(control))
            checkControls(control, faults);
        if (!AccessibleWindow::isHiddenFromScreenReaders(control) && !name.startsWith(QLatin1String("qt_")))
            siblings << control;
    }
    for (qsizetype i = 0; i < siblings.size(); ++i)
        for (qsizetype j = i + 1; j < siblings.size(); ++j) {
            const QRect both = covered(siblings[i]) & covered(siblings[j]);
            if (both.width() > border && both.height() > border)
                faults << QStringLiteral("%1 and %2 overlap")
                              .arg(siblings[i]->objectName(), siblings[j]->objectName());
        }
}

QStringList faultsOf(const QWidget* window)
{
    QStringList faults;
    checkControls(window, faults);
    const QRect room = window->screen()->availableGeometry();
    if (!room.contains(window->frameGeometry()))
        faults << QStringLiteral("%1 is not whole on its screen").arg(window->objectName());
    return faults;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// How wide, in pixels of the window's design, the mark is that shows the
// keyboard in a control: the pixels that look clearly different with the
// keyboard there than without, over the rim of where they lie. A faint line
// of one pixel round a control comes to 1, nothing to 0.
double markWidth(QWidget* control)
{
    // As the Tab key leaves it: the window shows marks from now on.
    control->window()->setAttribute(Qt::WA_KeyboardFocusChange);
    control->setFocus(Qt::TabFocusReason);
    settle();
    const QImage focused = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    control->clearFocus();
    settle();
    const QImage unfocused = control->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int marked = 0;
    QRect where;
    for (int y = 0; y < focused.height(); ++y)
        for (int x = 0; x < focused.width(); ++x) {
            const QRgb a = focused.pixel(x, y);
            const QRgb b = unfocused.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b)) >
                96) {
                ++marked;
                where |= QRect(x, y, 1, 1);
            }
        }
    if (marked == 0)
        return 0;
    return marked / (2.0 * (where.width() + where.height())) / focused.devicePixelRatio();
}

// Every control the keyboard reaches shows that it has it, with a mark about
// two pixels wide round it or its text. Text fields show their caret too,
// and the page its caret alone.
QStringList unmarkedControls(QWidget* window)
{
    QStringList faults;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        // A control's parts and a control that hands its keyboard on to one
        // are looked at as that one.
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisible() || !control->isEnabled() ||
            control->focusProxy() ||
            (qobject_cast<QAbstractScrollArea*>(control) && !qobject_cast<QAbstractItemView*>(control)) ||
            qobject_cast<QComboBox*>(control->parentWidget()))
            continue;
        if (const double width = markWidth(control); width < 1.5)
            faults << QStringLiteral("%1 shows a mark %2 pixels wide").arg(control->objectName()).arg(width);
    }
    return faults;
}

TEST_F(MakeUp, EveryTextIsWholeAndNoControlLiesOnAnother)
{
    start(record(""));
    const double dpi = form->screen()->logicalDotsPerInchY();
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    settle();
    EXPECT_EQ(faultsOf(form.get()).join('\n').toStdString(), "") << "main window at " << dpi << " DPI";
    EXPECT_EQ(unmarkedControls(form.get()).join('\n').toStdString(), "")
        << "main window at " << dpi << " DPI";

    form->options_click();
    settle();
    EXPECT_EQ(faultsOf(form->optionsDialog()).join('\n').toStdString(), "") << "options at " << dpi << " DPI";
    EXPECT_EQ(unmarkedControls(form->optionsDialog()).join('\n').toStdString(), "")
        << "options at " << dpi << " DPI";

    form->about_click();
    Form3* about = form->aboutDialog();
    for (int tab = 0; tab < about->SSTab1->count(); ++tab) {
        about->SSTab1->setCurrentIndex(tab);
        settle();
        EXPECT_EQ(faultsOf(about).join('\n').toStdString(), "")
            << "about, tab " << tab << ", at " << dpi << " DPI";
        EXPECT_EQ(unmarkedControls(about).join('\n').toStdString(), "")
            << "about, tab " << tab << ", at " << dpi << " DPI";
    }

    entry("findall")->trigger();
    FindWindow* find = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        find = find ? find : qobject_cast<FindWindow*>(top);
    ASSERT_NE(find, nullptr);
    QTest::keyClicks(QApplication::focusWidget(), "x");
    settle();
    EXPECT_EQ(faultsOf(find).join('\n').toStdString(), "") << "find in all pages at " << dpi << " DPI";
    EXPECT_EQ(unmarkedControls(find).join('\n').toStdString(), "")
        << "find in all pages at " << dpi << " DPI";
}

} // namespace

// The artwork that comes drawn with the program is the SVG's, at the size
// asked for; sizes that do not come drawn are drawn from the SVG.
TEST(Artwork, ComesDrawnAsTheSvgDrawsItAndAnyOtherSizeIsDrawnWhenAsked)
{
    const qreal ratio = qApp->devicePixelRatio();
    auto fromSvg = [](const QString& name, QSize pixels) {
        QImageReader reader(QStringLiteral(":/artwork/%1.svg").arg(name));
        reader.setScaledSize(pixels);
        return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const std::pair<const char*, QSize> shown[] = {{"ring", {29, 25}},
                                                   {"stitch", {25, 10}},
                                                   {"first", {32, 32}},
                                                   {"icon", {22, 22}},
                                                   {"icon", {37, 37}}};
    for (const auto& [name, size] : shown) {
        SCOPED_TRACE(std::string(name) + " at " + std::to_string(size.width()));
        // Compared premultiplied: the colour of a nearly clear pixel is noise.
        const QImage image = Artwork::pixmap(QString::fromLatin1(name), size, ratio)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage expected = fromSvg(QString::fromLatin1(name), size * ratio);
        ASSERT_EQ(image.size(), expected.size());
        int worst = 0;
        bool painted = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb a = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
                const QRgb b = reinterpret_cast<const QRgb*>(expected.constScanLine(y))[x];
                painted = painted || qAlpha(a) > 0;
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        EXPECT_LE(worst, 8) << "unlike the SVG";
        EXPECT_TRUE(painted) << "empty";
        // The square ones as icons, as the buttons and the window manager
        // ask for them: the same pixels.
        if (size.width() == size.height()) {
            const QPixmap asked = Artwork::icon(QString::fromLatin1(name)).pixmap(size, ratio);
            EXPECT_EQ(asked.size(), expected.size());
            EXPECT_EQ(asked.devicePixelRatio(), ratio);
        }
    }
}

// A drawn picture reads back pixel for pixel; a damaged one reads as no
// picture, and the artwork is then drawn from the SVG.
TEST(Artwork, ADrawnPictureReadsBackAndADamagedOneNotAtAll)
{
    QImage image(3, 2, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.setPixel(x, y, qRgba(10 * x, 20 * y, 30, 40 + x + y));
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DrawnPicture::write(image, written));
    const QByteArray whole = written.data();
    ASSERT_EQ(whole.size(), 12 + 3 * 2 * 4);

    auto readFrom = [](QByteArray bytes) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return DrawnPicture::read(buffer);
    };
    EXPECT_EQ(readFrom(whole), image);
    QByteArray wrongMagic = whole;
    wrongMagic[0] = 'P';
    QByteArray huge = whole;
    huge[7] = '\x7f';
    for (const QByteArray& damaged :
         {whole.left(whole.size() - 1), whole + "x", wrongMagic, huge, QByteArray()})
        EXPECT_TRUE(readFrom(damaged).isNull()) << damaged.toHex().toStdString();
}

// The about picture's lettering stands below its pencil, nothing drawn on it.
TEST(Artwork, TheAboutPictureShowsItsLetteringWhole)
{
    const QImage picture = Artwork::pixmap(QStringLiteral("aboutpicture"), QSize(141, 171), 1).toImage();
    const QColor pencil[] = {QColor(0x2a5ba8), QColor(0xd84a3a), QColor(0x37474f)};
    int onLettering = 0;
    // The lettering's line, from the top of its capitals down.
    for (int y = 151; y < 166; ++y)
        for (int x = 0; x < picture.width(); ++x)
            for (const QColor& colour : pencil) {
                const QColor seen = picture.pixelColor(x, y);
                onLettering += std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
                                   std::abs(seen.blue() - colour.blue()) <
                               24;
            }
    EXPECT_EQ(onLettering, 0);
}
