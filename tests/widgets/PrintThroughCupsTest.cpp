#include "RecordingDialogs.h"
#include "RecordingPrintQueue.h"
#include "TempFolder.h"
#include "gui/desktop/QtPrinting.h"
#include "gui/mainwindow/PagePrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cups/cups.h>

namespace {

// A CUPS server of the test's own, in a fresh folder and on a socket there,
// with one queue that throws its jobs away. Its programs need root, as CI
// has; the server goes with the test, and with the test's process should it
// crash.
class PrintThroughCups : public ::testing::Test {
protected:
    TempFolder folder;
    QString socket;
    QProcess cupsd;

    void SetUp() override
    {
        for (const char* program : {"cupsd", "lpadmin", "cupsreject", "cupsaccept", "cupsdisable", "lpstat"})
            if (tool(program).isEmpty())
                GTEST_SKIP() << program << " is not installed (cups-daemon, cups-client, cups-bsd)";
        if (geteuid() != 0)
            GTEST_SKIP() << "a CUPS server of the test's own starts only as root, as in CI";
        const QString here = QString::fromStdString(folder.path().string());
        socket = here + QStringLiteral("/cups.sock");
        const QStringList lines = {
            QStringLiteral("ServerRoot %1/root").arg(here), QStringLiteral("RequestRoot %1/spool").arg(here),
            QStringLiteral("TempDir %1/tmp").arg(here), QStringLiteral("CacheDir %1/cache").arg(here),
            QStringLiteral("StateDir %1/state").arg(here), QStringLiteral("ErrorLog %1/error_log").arg(here),
            QStringLiteral("AccessLog %1/access_log").arg(here),
            QStringLiteral("PageLog %1/page_log").arg(here),
            // A queue into /dev/null, rather than a printer.
            QStringLiteral("FileDevice Yes"), QStringLiteral("SystemGroup root")};
        write("cups-files.conf", lines);
        write("cupsd.conf", {QStringLiteral("Listen %1").arg(socket), QStringLiteral("Browsing No"),
                             QStringLiteral("WebInterface No"), QStringLiteral("<Policy default>"),
                             QStringLiteral("<Limit All>"), QStringLiteral("Order deny,allow"),
                             QStringLiteral("</Limit>"), QStringLiteral("</Policy>")});
        for (const char* sub : {"root", "spool", "tmp", "cache", "state"})
            ASSERT_TRUE(QDir(here).mkpath(QString::fromLatin1(sub)));
        cupsd.setProcessChannelMode(QProcess::MergedChannels);
        cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        cupsd.start(tool("cupsd"),
                    {QStringLiteral("-f"), QStringLiteral("-c"), here + QStringLiteral("/cupsd.conf"),
                     QStringLiteral("-s"), here + QStringLiteral("/cups-files.conf")});
        if (!cupsd.waitForStarted(10000) ||
            !QTest::qWaitFor(
                [this] { return QFileInfo::exists(socket) || cupsd.state() == QProcess::NotRunning; },
                10000) ||
            cupsd.state() == QProcess::NotRunning)
            GTEST_SKIP() << "cupsd did not start: " << cupsd.readAll().toStdString();
        qputenv("CUPS_SERVER", socket.toUtf8());
        // CUPS keeps the server it first talked to for the thread; an
        // earlier test's is gone.
        cupsSetServer(nullptr);
        run("lpadmin", {"-p", "KelmoTest", "-v", "file:/dev/null", "-E", "-m", "raw"});
        run("lpadmin", {"-d", "KelmoTest"});
    }

    void TearDown() override
    {
        cupsd.terminate();
        if (!cupsd.waitForFinished(10000))
            cupsd.kill();
    }

    static QString tool(const char* program)
    {
        // Where Debian puts them, whatever the PATH.
        return QStandardPaths::findExecutable(QString::fromLatin1(program),
                                              {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    }

    void write(const char* name, const QStringList& lines)
    {
        QFile file(QString::fromStdString((folder.path() / name).string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

    // What one of CUPS's programs prints; the test fails when it fails.
    QString run(const char* program, const QStringList& arguments)
    {
        QProcess process;
        process.start(tool(program), QStringList{QStringLiteral("-h"), socket} + arguments);
        EXPECT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0) << program << ": " << process.readAllStandardError().toStdString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    int jobsSent()
    {
        return run("lpstat", {"-W", "all", "-o", "KelmoTest"}).count(QStringLiteral("KelmoTest-"));
    }

    // Prints through the real print dialog, with the copies in it, as the
    // Print button does; the boxes the user was shown.
    std::vector<RecordingDialogs::Box> printPage(QtPrinting& printing, int copies)
    {
        RecordingDialogs dialogs;
        PagePrinter printer(printing, dialogs);
        printing.printer().setCopyCount(copies);
        QTimer press;
        QObject::connect(&press, &QTimer::timeout, [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QPrintDialog*>(window); dialog && dialog->isVisible())
                    dialog->accept();
        });
        press.start(50);
        QWidget window;
        printer.print(&window, QStringLiteral("Kelmo-Note"), QStringLiteral("Buy milk"), 12);
        return dialogs.boxes;
    }
};

// What the print queue says before the first job is sent and after each:
// a refusal ends the printing with the queue's own reason, and nothing more
// is sent. The queue's word is the test's; the jobs reach a real queue.
TEST_F(PrintThroughCups, TheQueueIsAskedBeforeSendingAndAfterEveryJobAndARefusalSendsNoMore)
{
    const QString rejecting =
        QStringLiteral("the printer \"KelmoTest\" does not accept jobs (CUPS says: Rejecting Jobs)");
    const QString stopped = QStringLiteral("CUPS stopped the job on the printer \"KelmoTest\"");
    const QString lost = QStringLiteral("the printer \"KelmoTest\" has no job \"Kelmo-Note\" of yours");
    const QString job = QStringLiteral("job Kelmo-Note on KelmoTest");
    const struct {
        const char* what;
        std::optional<QString> refusal;
        std::optional<QString> jobRefusal;
        QStringList asked;
        int sent;
    } cases[] = {
        {"accepting", {}, {}, {"queue KelmoTest", job, job, job}, 3},
        {"not accepting", rejecting, {}, {"queue KelmoTest"}, 0},
        {"job stopped", {}, stopped, {"queue KelmoTest", job}, 1},
        {"no job found", {}, lost, {"queue KelmoTest", job}, 1},
    };
    PrintJob page;
    page.lines = {{"Kelmo-Note", 20}};
    for (const auto& c : cases) {
        RecordingPrintQueue::Record queue{c.refusal, c.jobRefusal, {}};
        QtPrinting printing(std::make_unique<RecordingPrintQueue>(queue));
        ASSERT_EQ(printing.printer().printerName(), QStringLiteral("KelmoTest"));
        const int before = jobsSent();
        const std::optional<QString> told = printing.print(page, 3);
        EXPECT_EQ(told.value_or(QStringLiteral("nothing")).toStdString(),
                  c.refusal.value_or(c.jobRefusal.value_or(QStringLiteral("nothing"))).toStdString())
            << c.what;
        EXPECT_EQ(queue.asked.join(QLatin1Char('|')).toStdString(),
                  c.asked.join(QLatin1Char('|')).toStdString())
            << c.what;
        EXPECT_EQ(jobsSent() - before, c.sent) << c.what;
    }
}

TEST_F(PrintThroughCups,
       AQueueRejectingJobsOrStoppedIsToldWithItsNameAndReasonAndAnAcceptingOneTakesEveryCopy)
{
    QtPrinting printing;
    run("cupsreject", {"KelmoTest"});
    auto boxes = printPage(printing, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Kelmo Note");
    EXPECT_EQ(boxes[0].text, "Printing failed: the printer \"KelmoTest\" does not accept jobs (CUPS says: "
                             "Rejecting Jobs).\n\nThe copy in progress was cancelled.");
    EXPECT_EQ(printing.printer().printerName(), QStringLiteral("KelmoTest"));
    EXPECT_EQ(jobsSent(), 0) << "nothing was sent";

    run("cupsaccept", {"KelmoTest"});
    boxes = printPage(printing, 2);
    EXPECT_TRUE(boxes.empty()) << boxes[0].text;
    EXPECT_EQ(jobsSent(), 2);

    // Stopped, as Qt tells too; now with the reason.
    run("cupsdisable", {"-r", "Out of toner", "KelmoTest"});
    boxes = printPage(printing, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Printing failed: the printer \"KelmoTest\" is stopped (CUPS says: Out of toner)."
              "\n\nThe copy in progress was cancelled.");
    EXPECT_EQ(jobsSent(), 2);
}

} // namespace
