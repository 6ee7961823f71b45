#include "FormFixture.h"
#include "RecordingPrintQueue.h"
#include "gui/about/Form3.h"
#include "gui/desktop/LoadedPrinting.h"
#include "gui/desktop/QtPrinting.h"
#include "gui/desktop/QtUserDialogs.h"

#include <QAccessible>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>

namespace {

class Print : public FormFixture {
protected:
    void printFromTheMenu() { entry("print")->trigger(); }
    QStringList texts(const PrintJob& job) const
    {
        QStringList result;
        for (const auto& line : job.lines)
            result << line.text;
        return result;
    }
};

TEST_F(Print, OneCopyIsOneJobWithHeadingEmptyLineAndThePageInTheEditorSize)
{
    start(record(""));
    form->RichTextBox1->setPlainText(QStringLiteral("first\nsecond"));
    QFont font = form->RichTextBox1->font();
    font.setPointSizeF(12.5);
    form->RichTextBox1->setFont(font);
    printFromTheMenu();
    ASSERT_EQ(printing.jobs.size(), 1u);
    const PrintJob& job = printing.jobs[0];
    EXPECT_EQ(texts(job), QStringList({"Kelmo-Note", "", "first", "second"}));
    EXPECT_EQ(job.lines[0].pointSize, 20);
    EXPECT_EQ(job.lines[1].pointSize, 20);
    EXPECT_EQ(job.lines[2].pointSize, 12.5);
    EXPECT_EQ(job.lines[3].pointSize, 12.5);
}

TEST_F(Print, EveryCopyIsAJobOfItsOwnAndCancelPrintsNothing)
{
    start(record(""));
    form->RichTextBox1->clear();
    printing.copies = 3;
    printFromTheMenu();
    ASSERT_EQ(printing.jobs.size(), 3u);
    for (const auto& job : printing.jobs)
        EXPECT_EQ(texts(job), QStringList({"Kelmo-Note", "", ""}))
            << "an empty page: heading and two empty lines";

    printing.jobs.clear();
    printing.copies.reset();
    printFromTheMenu();
    EXPECT_TRUE(printing.jobs.empty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Print, AFailedJobStopsThePrintingAndTellsTheUser)
{
    start(record("page"));
    printing.copies = 3;
    printing.failAtJob = 2;
    printFromTheMenu();
    EXPECT_EQ(printing.jobs.size(), 1u);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("out of paper"), std::string::npos);
}

TEST_F(Print, ARealJobReachesThePaperWithItsTextNameAndMarginsAndCopiesShareTheFile)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdftotext.isEmpty() || pdfinfo.isEmpty())
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    const QString pdf = QString::fromStdString((folder.path() / "page.pdf").string());
    RecordingPrintQueue::Record queue;
    queue.refusal = queue.jobRefusal = QStringLiteral("a file is no print queue");
    QtPrinting printer(pdf, std::make_unique<RecordingPrintQueue>(queue));
    PrintJob job;
    job.lines = {{"Kelmo-Note", 20}, {"", 20}, {"Buy milk", 10}, {QString(300, QLatin1Char('w')), 10}};
    ASSERT_FALSE(printer.print(job, 2));
    EXPECT_TRUE(queue.asked.isEmpty()) << "printing into a file asks no print queue";
    auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished());
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString text = run(pdftotext, {pdf, QStringLiteral("-")});
    EXPECT_EQ(text.count(QStringLiteral("Kelmo-Note")), 2) << "the second copy did not replace the first";
    EXPECT_LT(text.indexOf(QStringLiteral("Kelmo-Note")), text.indexOf(QStringLiteral("Buy milk")));
    EXPECT_EQ(text.count(QLatin1Char('w')), 600) << "a long line wraps; nothing is lost";

    const QString info = run(pdfinfo, {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title: +Kelmo-Note\\n"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +2\\n"))))
        << "each copy on sheets of its own";

    // Every word's box, in points, against the paper's edges.
    const QString boxes = run(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    const QRegularExpression word(
        QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\""));
    const auto size = page.match(boxes);
    ASSERT_TRUE(size.hasMatch());
    const double margin = QtPrinting::kMarginMillimetres / 25.4 * 72 - 0.5;
    int words = 0;
    for (auto it = word.globalMatch(boxes); it.hasNext(); ++words) {
        const auto box = it.next();
        EXPECT_GE(box.captured(1).toDouble(), margin);
        EXPECT_GE(box.captured(2).toDouble(), margin);
        EXPECT_LE(box.captured(3).toDouble(), size.captured(1).toDouble() - margin);
        EXPECT_LE(box.captured(4).toDouble(), size.captured(2).toDouble() - margin);
    }
    EXPECT_GT(words, 4);
}

// What the print dialog offers besides copies: some sheets of a page that
// fills several, and the last sheet first.
TEST_F(Print, TheSheetsAndTheOrderChosenInTheDialogArePrinted)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    PrintJob job;
    for (int line = 1; line <= 150; ++line)
        job.lines.append({QStringLiteral("Line %1").arg(line), 12});
    // Each sheet's text, as pdftotext parts them.
    auto printed = [&](int from, int to, QPrinter::PageOrder order) {
        const QString pdf = QString::fromStdString((folder.path() / "sheets.pdf").string());
        QtPrinting printer(pdf);
        printer.printer().setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
        printer.printer().setFromTo(from, to);
        printer.printer().setPageOrder(order);
        const auto failure = printer.print(job, 1);
        QProcess process;
        process.start(pdftotext, {pdf, QStringLiteral("-")});
        EXPECT_TRUE(process.waitForFinished());
        QStringList sheets = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
        sheets.removeAll(QString());
        return failure ? QStringList{*failure} : sheets;
    };
    const QStringList all = printed(0, 0, QPrinter::FirstPageFirst);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(printed(2, 2, QPrinter::FirstPageFirst), QStringList{all[1]});
    EXPECT_EQ(printed(2, 9, QPrinter::FirstPageFirst), QStringList({all[1], all[2]}));
    EXPECT_EQ(printed(0, 0, QPrinter::LastPageFirst), QStringList({all[2], all[1], all[0]}));
    const QStringList none = printed(4, 5, QPrinter::FirstPageFirst);
    ASSERT_EQ(none.size(), 1);
    EXPECT_TRUE(none[0].contains(QStringLiteral("fills 3 sheets"))) << none[0].toStdString();
}

TEST_F(Print, TheProgramLoadsItsPrintingModuleWhenFirstAskedOrTellsWhyItCannot)
{
    PrintJob job;
    job.lines = {{"Kelmo-Note", 20}};
    LoadedPrinting missing(dialogs, {QStringLiteral("/nowhere/kelmo-note-printing.so")});
    EXPECT_TRUE(dialogs.boxes.empty()) << "nothing is loaded before printing";
    EXPECT_TRUE(missing.print(job, 1));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find("/nowhere/kelmo-note-printing.so"), std::string::npos)
        << dialogs.boxes[0].text;

    dialogs.boxes.clear();
    LoadedPrinting found(dialogs, {QStringLiteral("/nowhere/kelmo-note-printing.so"),
                                   QStringLiteral(KELMO_PRINTING_MODULE_PATH)});
    EXPECT_FALSE(found.print(job, 0)) << "no copies asked for, no printer needed";
    EXPECT_TRUE(dialogs.boxes.empty());
}

using About = FormFixture;

TEST_F(About, TheDialogHasItsTabsAndHandsTheAddressesToTheDesktop)
{
    start(record(""));
    entry("about")->trigger();
    Form3* about = form->aboutDialog();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->SSTab1->count(), 2);
    EXPECT_EQ(about->SSTab1->tabText(0), "About Me");
    EXPECT_EQ(about->SSTab1->tabText(1), "Info");
    EXPECT_EQ(about->SSTab1->currentIndex(), 0);
    EXPECT_EQ(about->Command3->text(), "Mail Me!");
    EXPECT_EQ(about->Command4->toolTip(), "Click to visit my Homepage");

    QTest::mouseClick(about->Command3, Qt::LeftButton);
    QTest::mouseClick(about->Command4, Qt::LeftButton);
    QTest::keyClick(about->Command4, Qt::Key_Return);
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(shell.opened[0].first,
              std::string("mailto:") + Form3::kMailAddress + "?Subject=Kelmo-Note&Body=I have a question...");
    EXPECT_EQ(shell.opened[1].first, Form3::kHomepage);
    EXPECT_EQ(shell.opened[1].second, "C:\\");
    EXPECT_EQ(shell.opened[2], shell.opened[1]);
    EXPECT_TRUE(dialogs.boxes.empty());

    // Where no program takes them, the user is told and given the address.
    shell.takes = false;
    QTest::mouseClick(about->Command3, Qt::LeftButton);
    QTest::mouseClick(about->Command4, Qt::LeftButton);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_NE(dialogs.boxes[0].text.find(Form3::kMailAddress), std::string::npos);
    EXPECT_NE(dialogs.boxes[1].text.find(Form3::kHomepage), std::string::npos);
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "never under the main window";

    about->SSTab1->setCurrentIndex(1);
    EXPECT_FALSE(about->Command3->isVisible());
    EXPECT_TRUE(about->findChild<QLabel*>(QStringLiteral("Label12"))->isVisible());

    form->about_click();
    EXPECT_EQ(form->aboutDialog(), about);
    const QPointer<Form3> watched(about);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(about)->role(), QAccessible::Dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about->Command4, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible()) << "Escape closes it";
    form->about_click();
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull()) << "the program's end closes the dialog";
}

// Its message stands over the About window, which keeps the keyboard for
// the Escape that closes it.
TEST_F(About, ItsMessageStandsOverItAndHandsTheKeyboardBackToIt)
{
    start(record(""));
    QtUserDialogs messages;
    messages.setParent(form.get());
    Form3 about(shell, messages);
    about.show();
    about.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&about));
    shell.takes = false;
    QWidget* over = nullptr;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&over, &format] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        over = box->parentWidget();
        format = box->textFormat();
        box->close();
    });
    QTest::keyClick(about.Command3, Qt::Key_Return);
    EXPECT_EQ(over, &about);
    EXPECT_EQ(format, Qt::PlainText) << "a path or text from a file is never markup";
    EXPECT_TRUE(QTest::qWaitFor([&about] { return QApplication::activeWindow() == &about; }));
}

} // namespace
