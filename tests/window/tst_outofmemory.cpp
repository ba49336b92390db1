// Real memory running out: under an address-space limit, in a child process, actions that run out stop with
// their message, and afterwards the editor can still open a real file dialog, close it and go on.
#include "UserSteps.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>
#include <QtTest>
#include <sys/resource.h>

namespace {

constexpr char kChildVariable[] = "MOSAICOR_OUT_OF_MEMORY_CHILD";

// Answers the open dialog from a list while it lasts, then shows the real one.
class ScriptedThenRealDialogs : public QtDialogs {
public:
    FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) override {
        if (answers.empty())
            return QtDialogs::ShowOpenDialog(parent, request);
        FolderItem answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<FolderItem> answers;
};

qint64 AddressSpace() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return line.mid(7).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

bool Red(const frmMain& w) {
    return w.lblStatus->palette().color(QPalette::WindowText) == QColor(200, 0, 0);
}

} // namespace

class TestOutOfMemory : public QObject {
    Q_OBJECT
private slots:
    void sequenceUnderAnAddressLimit();
    void childSequence();
};

// The child's report, line by line, is what each step left in the status line.
void TestOutOfMemory::sequenceUnderAnAddressLimit() {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves far more address space than any limit leaves");
#endif
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildVariable, "1");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"childSequence", "-silent"});
    // A dialog that cannot start its threads waits for them for ever: the child is ended after two minutes.
    QVERIFY(child.waitForFinished(120000));
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    const QString errors = QString::fromUtf8(child.readAllStandardError());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(output + errors));
    // A fill of a whole layer shares one record and keeps one run of history: it needs no room. Apply to
    // 4096 x 4096 layers, whose new grids do not fit beside the old ones, runs out and is taken back whole,
    // which returns its memory: what follows has room again.
    QCOMPARE(output.section("STEPS\n", 1).section("Totals", 0, 0),
             QStringLiteral("Apply: 8192 x 2048\n"
                            "fill: black \n"
                            "Apply 4096: red Out of memory: Apply stopped\n"
                            "Apply 1: black \n"
                            "filled ellipse: black \n"
                            "dialog: closed\n"));
}

void TestOutOfMemory::childSequence() {
    if (qEnvironmentVariableIsEmpty(kChildVariable))
        QSKIP("runs in the child process started by sequenceUnderAnAddressLimit");
    auto dialogs = std::make_shared<ScriptedThenRealDialogs>();
    frmMain w(dialogs);
    w.show();
    QTemporaryDir temp;
    const QString tiles = temp.filePath("tiles.png");
    QVERIFY(MakeTileSheet(96, 32, 32, 32).save(tiles));
    dialogs->answers.push_back(FolderItem(tiles));
    MenuItem(w, "Load &Tiles")->trigger();
    QCOMPARE(w.Tileset().Count(), 3);

    // Room for the 8 layers of 8192 x 2048 cells (1 GiB of grid slots) and a quarter GiB more.
    const qint64 used = AddressSpace();
    QVERIFY(used > 0);
    const rlimit limit{rlim_t(used + (qint64(5) << 28)), rlim_t(used + (qint64(5) << 28))};
    QVERIFY(setrlimit(RLIMIT_AS, &limit) == 0);
    QStringList steps;
    auto note = [&](const char* step) {
        steps << QStringLiteral("%1: %2 %3").arg(step, Red(w) ? "red" : "black", w.lblStatus->text());
        std::fprintf(stderr, "%s\n", qPrintable(steps.back()));
    };
    Apply(w, "8", "32", "32", "8192", "2048");
    steps << QStringLiteral("Apply: %1 x %2").arg(w.MapWidth()).arg(w.MapHeight());
    const QPoint firstTile(26, 26);
    Input::Enter(w.canTiles, firstTile);
    Input::Move(w.canTiles, firstTile);
    Input::Click(w.canTiles, firstTile);
    Input::Leave(w.canTiles);
    ChooseEditLayer(w, 0);
    ChooseTool(w, Tool::Fill);
    Click(w, 2, 2);
    note("fill");
    Apply(w, "8", "32", "32", "4096", "4096");
    note("Apply 4096");
    Apply(w, "8", "1", "1", "8192", "2048");
    note("Apply 1");
    ChooseTool(w, Tool::FilledEllipse);
    DragStroke(w, 1, 1, 200, 150);
    note("filled ellipse");

    // The real open dialog, with the thread that reads the folder for it; closed by the user.
    bool seen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            seen = true;
            dialog->reject();
        }
    });
    closer.start(200);
    MenuItem(w, "Load &Tiles")->trigger();
    steps << (seen ? "dialog: closed" : "dialog: never shown");
    std::printf("STEPS\n%s\n", qPrintable(steps.join('\n')));
    std::fflush(stdout);
}

QTEST_MAIN(TestOutOfMemory)
#include "tst_outofmemory.moc"
