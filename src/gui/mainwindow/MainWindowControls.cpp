#include "MainWindowControls.h"

#include "PageEditor.h"
#include "gui/common/AccessibleWindow.h"
#include "gui/common/Artwork.h"
#include "gui/common/EnterKey.h"
#include "gui/common/Placement.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr int kButtonTop = 2760;
constexpr int kButtonSide = 615;

struct PictureButton {
    const char* name;
    const char* toolTip;
    const char* picture;
    int left;
};
// The buttons below the page, left to right.
constexpr PictureButton kButtons[] = {
    {"Command1_4", "First", "first", 4},        {"Command1_1", "Previous", "previous", 600},
    {"Command1_2", "Next", "next", 1200},       {"Command1_3", "Last", "last", 1800},
    {"Command3", "Search", "search", 2400},     {"Command1_6", "Delete", "delete", 3000},
    {"Command2", "Minimize", "minimize", 3600},
};

QPushButton* pictureButton(QWidget& window, const PictureButton& design)
{
    auto* button = new QPushButton(&window);
    button->setObjectName(QString::fromLatin1(design.name));
    button->setToolTip(QString::fromLatin1(design.toolTip));
    button->setAccessibleName(button->toolTip());
    EnterKey::pressesButton(button);
    button->setIcon(Artwork::icon(QString::fromLatin1(design.picture)));
    button->setIconSize(Artwork::shownSize(QString::fromLatin1(design.picture)));
    Placement::place(button, design.left, kButtonTop, kButtonSide, kButtonSide);
    return button;
}

} // namespace

void MainWindowControls::buildInto(QWidget& window, const QString& caption)
{
    window.setObjectName(QStringLiteral("Form1"));
    window.setWindowTitle(caption);
    window.setWindowIcon(Artwork::icon(QStringLiteral("icon")));
    QPalette white = window.palette();
    white.setColor(QPalette::Window, Qt::white);
    window.setPalette(white);
    window.setAutoFillBackground(true);
    AccessibleWindow::presentAs(&window, QAccessible::Window);

    RichTextBox1 = new PageEditor(&window);
    RichTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    Placement::place(RichTextBox1, 480, 0, 3735, 2535);

    Label1 = new QLabel(&window);
    Label1->setObjectName(QStringLiteral("Label1"));
    Placement::place(Label1, 840, 5280, 855, 255);
    AccessibleWindow::hideFromScreenReaders(Label1);

    baueKnoepfe(window);
    baueBilder(window);
    baueMenue(window);
    setzeFokusReihenfolge();
}

void MainWindowControls::baueKnoepfe(QWidget& window)
{
    for (const PictureButton& design : kButtons) {
        QPushButton* button = pictureButton(window, design);
        const QString name = button->objectName();
        if (name == QLatin1String("Command3"))
            Command3 = button;
        else if (name == QLatin1String("Command2"))
            Command2 = button;
        else
            Command1[static_cast<std::int16_t>(name.mid(9).toInt())] = button;
    }
}

void MainWindowControls::baueBilder(QWidget& window)
{
    const qreal ratio = window.devicePixelRatioF();
    auto picture = [&window, ratio](const QString& name, const QString& artwork, int left, int top, int width,
                                    int height) {
        auto* image = new QLabel(&window);
        image->setObjectName(name);
        image->setPixmap(Artwork::pixmap(artwork, ratio));
        Placement::place(image, left, top, width, height);
        image->lower();
        AccessibleWindow::hideFromScreenReaders(image);
    };
    // The rings of the binding, down the left edge beside the editor.
    const std::int16_t ringIndices[] = {6, 7, 8, 9, 10, 11, 0};
    for (int i = 0; i < 7; ++i)
        picture(QStringLiteral("Image1_%1").arg(ringIndices[i]), QStringLiteral("ring"), 0, i * 360, 435,
                375);
    picture(QStringLiteral("Image6"), QStringLiteral("ringend"), 0, 2480, 435, 270);

    // The seam between the page and the buttons.
    const std::pair<const char*, int> bottomRow[] = {
        {"Image2", 0}, {"Image3", 0}, {"Image4", 0}, {"Image5", 0}, {"Image2", 1}, {"Image3", 1},
        {"Image4", 1}, {"Image5", 1}, {"Image5", 2}, {"Image5", 3}, {"Image5", 4},
    };
    for (int i = 0; i < 11; ++i)
        picture(QStringLiteral("%1_%2").arg(QLatin1String(bottomRow[i].first)).arg(bottomRow[i].second),
                QStringLiteral("stitch"), 360 + i * 360, 2600, 375, 150);
}

void MainWindowControls::baueMenue(QWidget& window)
{
    popup_m = new QMenu(QStringLiteral("Popup"), &window);
    popup_m->setObjectName(QStringLiteral("popup_m"));
    auto entry = [this](const char* name, const QString& caption) {
        popup_m->addAction(caption)->setObjectName(QString::fromUtf8(name));
    };
    entry("mini", QStringLiteral("Minimize"));
    entry("Möffnen", QStringLiteral("Maxsimize"));
    popup_m->addSeparator()->setObjectName(QStringLiteral("hallo"));
    entry("options", QStringLiteral("Options"));
    entry("print", QStringLiteral("Print"));
    entry("about", QStringLiteral("About Kelmo-Note"));
    // Beyond the designed entries: the search of the whole notebook.
    entry("findall", QStringLiteral("Find in all pages..."));
    popup_m->addSeparator()->setObjectName(QStringLiteral("we"));
    entry("end", QStringLiteral("End"));
}

void MainWindowControls::setzeFokusReihenfolge()
{
    QList<QWidget*> order = {RichTextBox1};
    order << Command1[4] << Command1[1] << Command1[2] << Command1[3] << Command3 << Command1[6] << Command2;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
