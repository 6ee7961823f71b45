#include "Form3.h"

#include "KelmoConfig.h"
#include "core/common/Product.h"

#include "core/desktop/UserDialogs.h"
#include "gui/common/Artwork.h"
#include "gui/common/EnterKey.h"
#include "gui/common/Placement.h"
#include "gui/desktop/Shell.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

const char* const Form3::kHomepage = kKelmoHomepage;
const char* const Form3::kMailAddress = kKelmoMailAddress;

namespace {

constexpr int kClientWidth = 4560;
constexpr int kClientHeight = 4665;
constexpr int kAboutMe = 0;
constexpr int kInfo = 1;

} // namespace

Form3::Form3(Shell& shell_, UserDialogs& dialogs_)
    : DialogWindow(QStringLiteral("Form3"), QStringLiteral("About Kelmo-Note"), QStringLiteral("icon"))
    , shell(shell_)
    , dialogs(dialogs_)
{

    // The controls belong to the tab control itself, placed from its top-left
    // corner, and are shown only while their tab is selected.
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(new QWidget, QStringLiteral("About Me"));
    SSTab1->addTab(new QWidget, QStringLiteral("Info"));
    Placement::place(SSTab1, 0, 0, 4575, 4695);

    auto* image1 = baueText(kAboutMe, QStringLiteral("Image1"), QString(), 1200, 480, 2115, 2565);
    image1->setPixmap(Artwork::pixmap(QStringLiteral("aboutpicture"), devicePixelRatioF()));
    baueText(kAboutMe, QStringLiteral("Label6"), QStringLiteral("Hi,"), 240, 3120, 195, 195)->adjustSize();
    baueText(kAboutMe, QStringLiteral("Label7"), QStringLiteral("we are the Kelmo-Note developers."), 240,
             3360, 3705, 195)
        ->adjustSize();
    baueText(kAboutMe, QStringLiteral("Label8"),
             QStringLiteral("If you want to know more about me go to my Homepage or mail me!"), 240, 3600,
             3975, 615)
        ->setWordWrap(true);

    Command3 = new QPushButton(QStringLiteral("Mail Me!"), SSTab1);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setToolTip(QStringLiteral("Send me a Mail"));
    Placement::place(Command3, 240, 4080, 2055, 375);
    tabPages[kAboutMe] << Command3;
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    EnterKey::pressesButton(Command3);

    Command4 = new QPushButton(QStringLiteral("Visit my Homepage"), SSTab1);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setToolTip(QStringLiteral("Click to visit my Homepage"));
    Placement::place(Command4, 2280, 4080, 2055, 375);
    tabPages[kAboutMe] << Command4;
    connect(Command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    EnterKey::pressesButton(Command4);

    auto* image2 = baueText(kInfo, QStringLiteral("Image2"), QString(), 1920, 720, 480, 480);
    image2->setPixmap(Artwork::pixmap(QStringLiteral("icon"), devicePixelRatioF()));
    baueText(kInfo, QStringLiteral("Label9"),
             QStringLiteral("Made with C++20 and Qt %1.").arg(QLatin1String(QT_VERSION_STR)), 240, 1800, 3990,
             195)
        ->adjustSize();
    baueText(kInfo, QStringLiteral("Label10"), QStringLiteral("This is the first public Version (1.0)"), 240,
             2160, 3975, 375);
    baueText(kInfo, QStringLiteral("Label11"), QStringLiteral("If you have ideas to make it better mail me!"),
             240, 2520, 3015, 195)
        ->adjustSize();
    baueText(kInfo, QStringLiteral("Label12"), QStringLiteral("I hope you have a lot of fun with it!"), 240,
             3600, 4095, 375);

    setTabOrder(SSTab1, Command3);
    setTabOrder(Command3, Command4);
    connect(SSTab1, &QTabWidget::currentChanged, this, &Form3::zeigeReiter);
    zeigeReiter(kAboutMe);

    resize(Placement::size(this, kClientWidth, kClientHeight));
}

QLabel* Form3::baueText(int tab, const QString& name, const QString& text, int left, int top, int width,
                        int height)
{
    auto* result = new QLabel(text, SSTab1);
    result->setObjectName(name);
    // Labels write from their top edge, so a text shorter than its place
    // leaves the room below it empty.
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Placement::place(result, left, top, width, height);
    tabPages[tab] << result;
    return result;
}

void Form3::zeigeReiter(int tab)
{
    for (int i = 0; i < 2; ++i)
        for (QWidget* control : tabPages[i]) {
            control->setVisible(i == tab);
            control->raise();
        }
}

void Form3::Command4_Click()
{
    if (!StartURL(kHomepage))
        meldeNichtGeoeffnet("Kelmo-Note could not open the homepage: no web browser took it.", kHomepage);
}

void Form3::Command3_Click()
{
    SendeeMail(kMailAddress, Product::kName, "I have a question...");
}

bool Form3::StartURL(const std::string& URL)
{
    return shell.open(URL, "C:\\");
}

void Form3::SendeeMail(const std::string& eMail, const std::string& Subject, const std::string& Body)
{
    const std::string address = "mailto:" + eMail + "?Subject=" + Subject + "&Body=" + Body;
    if (!shell.open(address, ""))
        meldeNichtGeoeffnet("Kelmo-Note could not start a mail: no mail program took it.", eMail);
}

void Form3::meldeNichtGeoeffnet(const std::string& what, const std::string& address)
{
    // The address stands on a line of its own, so it can be selected and
    // copied into a program of the user's choice.
    dialogs.tell(Product::kMessageTitle, what + "\n\n" + address, UserDialogs::Icon::Information);
}
