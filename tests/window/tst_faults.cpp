// What a hostile name, a slow user, a file-size limit or memory running out does to the editor: real dialogs
// answered late never have a progress dialog over or behind them, markup-like names show as they are, a
// write past the file-size limit fails with a message, and actions and undos that run out of real memory (in
// a child under an address-space limit) stop whole with their message, after which the editor goes on.
#include "PngCraft.h"
#include "ProcessMemory.h"
#include "UserSteps.h"
#include "platform/FileSizeSignal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <sys/resource.h>

namespace {

constexpr char kChildVariable[] = "MOSAICOR_FAULTS_CHILD";
// Shown as markup, this name alone makes a message window 3000 pixels wide.
const QString kMarkup = QStringLiteral("<img src=q width=3000 height=8>");

// Scripted dialogs for setting a map up; once real is set, questions, messages, progress, the Locate dialog
// and open dialogs with no answer prepared are Qt's own, shown and answered as a user would.
struct HalfRealDialogs : ScriptedDialogs {
    using Base = ScriptedDialogs;
    QtDialogs qt;
    bool real = false;
    FolderItem ShowOpenDialog(QWidget* parent, const OpenDialogRequest& request) override {
        return real && (request.Title.startsWith("Locate") || answers.empty())
                   ? qt.ShowOpenDialog(parent, request)
                   : Base::ShowOpenDialog(parent, request);
    }
    void MsgBox(QWidget* p, const QString& s) override { real ? qt.MsgBox(p, s) : Base::MsgBox(p, s); }
    int Ask(QWidget* p, const Question& q) override { return real ? qt.Ask(p, q) : Base::Ask(p, q); }
    std::unique_ptr<WorkDialog> StartWork(QWidget* parent, const QString& label) override {
        return real ? qt.StartWork(parent, label) : Base::StartWork(parent, label);
    }
};

bool ProgressShown() {
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::any_of(all.begin(), all.end(),
                       [](QWidget* w) { return qobject_cast<QProgressDialog*>(w) && w->isVisible(); });
}

// A user who reads each modal dialog for 1.2 s, then answers it from a list (a button's text, or "reject"),
// noting what was up meanwhile: the dialog's kind, its width and whether a progress dialog showed.
class SlowUser : public QObject {
public:
    explicit SlowUser(QStringList answers) : m_answers(std::move(answers)) {
        connect(&m_tick, &QTimer::timeout, this, [this] { Look(); });
        m_tick.start(50);
    }
    QStringList seen;

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_shown) {
            m_shown = modal;
            m_since.start();
            m_progressMeanwhile = false;
        }
        m_progressMeanwhile = m_progressMeanwhile || ProgressShown();
        if (!modal || m_since.elapsed() < 1200 || m_answers.isEmpty())
            return;
        const QString answer = m_answers.takeFirst();
        seen << Say(modal->metaObject()->className(), modal->width() >= 3000 ? "wide" : "narrow",
                    m_progressMeanwhile ? "progress" : "alone");
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            for (QAbstractButton* button : box->buttons())
                button->text() == answer ? button->click() : void();
        else if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        m_shown = nullptr;
    }
    QStringList m_answers;
    QTimer m_tick;
    QWidget* m_shown = nullptr;
    QElapsedTimer m_since;
    bool m_progressMeanwhile = false;
};

// A step's name, the status line's colour (red or black) and its text.
QString Status(const char* step, const frmMain& w) {
    const bool red = w.Controls().lblStatus->palette().color(QPalette::WindowText) == QColor(200, 0, 0);
    return Say(QString(step) + ":", red ? "red" : "black", w.Controls().lblStatus->text());
}

// Runs one slot of this program in a child process with the given environment variable set, and gives what
// it printed; the child must end normally.
QString RunChild(const char* slot) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildVariable, "1");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {slot, "-silent"});
    const bool ended = child.waitForFinished(300000);
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    if (!ended || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return Say("the child failed or did not end:", child.exitCode(), output,
                   child.readAllStandardError());
    return output.section("REPORT\n", 1).section("Totals", 0, 0);
}

// What a child prints for its parent to compare.
void Report(const QStringList& lines) {
    std::printf("REPORT\n%s\n", qPrintable(lines.join('\n')));
    std::fflush(stdout);
}

} // namespace

class TestFaults : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (QByteArray(QTest::currentTestFunction()).startsWith("child") &&
            qEnvironmentVariableIsEmpty(kChildVariable))
            QSKIP("runs in a child process");
    }

    // Opening a map whose tileset image is missing, through the real question and the real Locate dialog, and
    // a damaged file through the real message, each answered after more than a second; the names look like
    // markup.
    void questionsWhileOpening() {
        auto dialogs = std::make_shared<HalfRealDialogs>();
        EditorFixture f({}, {}, {}, dialogs);
        f.LoadTiles(kMarkup + ".png", MakeTileSheet(64, 32, 32, 32));
        f.Save("FileSaveAs", kMarkup + ".mqm");
        QVERIFY(QFile::remove(f.temp.filePath(kMarkup + ".png")));
        QVERIFY(PngCraft::Write(f.temp.filePath(kMarkup + "bad.mqm"), QByteArray(4096, 'x')));

        dialogs->real = true;
        SlowUser user({"Locate\u2026", "reject", "Open Without It", "OK"});
        f.Open(kMarkup + ".mqm");
        QCOMPARE(f.w.Controls().lblStatus->text(), kMarkup + ".mqm opened");
        f.Open(kMarkup + "bad.mqm");
        QCOMPARE(user.seen, QStringList({"QMessageBox narrow alone", "QFileDialog narrow alone",
                                         "QMessageBox narrow alone", "QMessageBox narrow alone"}));
    }

    // A progress dialog that shows names the file as it is (the status line's tooltip is the keys test's);
    // the work's time does not run while a question is up.
    void markupInProgress() {
        QtDialogs dialogs;
        QWidget parent;
        parent.show();
        std::unique_ptr<WorkDialog> work = dialogs.StartWork(&parent, "Opening " + kMarkup);
        QTimer::singleShot(800, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->buttons().constFirst()->click();
        });
        dialogs.Ask(&parent, Question{"Go on?", {}, {{"Go On"}}, 0, 0});
        QVERIFY(work->Update(1, 2) && !ProgressShown()); // 0.8 s asked is no time worked
        QTest::qWait(750);
        const auto progress = work->Update(1, 2) ? parent.findChild<QProgressDialog*>() : nullptr;
        QVERIFY(progress && progress->isVisible() && progress->width() < 3000);
    }

    // Each child slot below runs in a child process only, where a limit set cannot reach the other tests; its
    // report is compared here.
    void inAChild_data() {
        QTest::addColumn<QString>("child");
        QTest::addColumn<QString>("report");
        QTest::newRow("file size") << "childFileSizeLimit"
                                   << "copy: red Unsaved changes cannot be kept safe: file too large\n"
                                      "save: map.mqm could not be saved: file too large\n";
        QTest::newRow("undo out of memory")
            << "childUndoOutOfMemory"
            << "undo load: red Out of memory: undo stopped 32768 2 0\nRemove Tiles: black  0 3 0\n"
               "undo Remove Tiles: red Out of memory: undo stopped 0 3 0\nundo: black  32768 2 1\n"
               "redo Remove Tiles: red Out of memory: redo stopped 32768 2 1\n";
        // A fill of a whole layer shares one record and keeps one run of history: it needs no room. Apply to
        // 4096 x 4096 layers, whose new grids do not fit beside the old ones, runs out and is taken back
        // whole, which returns its memory: what follows has room again.
        QTest::newRow("actions out of memory") << "childActionsOutOfMemory"
                                               << "Apply: 8192 x 2048\nfill: black \nApply 4096: red Out of "
                                                  "memory: Apply stopped\nApply 1: black \n"
                                                  "filled ellipse: black \ndialog: closed\n";
    }

    void inAChild() {
        QFETCH(QString, child);
        QFETCH(QString, report);
#if defined(__SANITIZE_ADDRESS__)
        if (child.contains("OutOfMemory"))
            QSKIP("AddressSanitizer reserves far more address space than any limit leaves");
#endif
        QCOMPARE(RunChild(qPrintable(child)), report);
    }

    // Under a file-size limit the recovery copy and a save fail, each saying so. (That a failed save keeps
    // the old file is the map file test's.)
    void childFileSizeLimit() {
        IgnoreFileSizeSignal();
        EditorFixture f;
        f.w.CopyKeeper().SetTiming({20, 0, 1000});
        QSignalSpy failing(&f.w.CopyKeeper(), &RecoveryKeeper::copiesFailing);
        const rlimit limit{200, RLIM_INFINITY};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        f.LoadSolidTiles(2);
        QVERIFY(failing.wait(20000));
        QStringList report{Status("copy", f.w)};
        f.Save("FileSaveAs", "map.mqm");
        Report(report << "save: " + f.dialogs->messages.value(0));
    }

    // Under an address-space limit with room for little more than the editor holds, taking back or redoing
    // the load of 32,768 tiles or their removal stops with nothing changed, the history where it was; with
    // room again it is done.
    void childUndoOutOfMemory() {
        EditorFixture f;
        Apply(f.w, "1", "1", "1", "100", "100");
        QImage noise(256, 128, QImage::Format_ARGB32);
        noise.fill(Qt::blue);
        f.LoadTiles("many.png", noise);
        QStringList report;
        f.dialogs->replies = {"Yes"};
        // A limited step has the address space held to what is in use and the heap's free room taken, all but
        // a little for the message: what the step needs beyond that it cannot have.
        for (const auto& [item, limited, step] : {std::tuple{"EditUndo", true, "undo load"},
                                                  {"FileRemoveTiles", false, "Remove Tiles"},
                                                  {"EditUndo", true, "undo Remove Tiles"},
                                                  {"EditUndo", false, "undo"},
                                                  {"EditRedo", true, "redo Remove Tiles"}}) {
            std::vector<std::unique_ptr<char[]>> ballast;
            ballast.reserve(limited ? 1 << 16 : 0);
            const rlimit none{RLIM_INFINITY, RLIM_INFINITY},
                limit{rlim_t(ProcessMemory::ResidentBytes("VmSize:")), RLIM_INFINITY};
            QVERIFY(setrlimit(RLIMIT_AS, limited ? &limit : &none) == 0);
            try {
                while (ballast.size() < ballast.capacity())
                    ballast.push_back(std::make_unique_for_overwrite<char[]>(std::size_t(64) << 10));
            } catch (const std::bad_alloc&) {
            }
            ballast.resize(ballast.size() > 4 ? ballast.size() - 4 : 0);
            ChooseItem(item);
            ballast.clear();
            QVERIFY(setrlimit(RLIMIT_AS, &none) == 0);
            report << Say(Status(step, f.w), f.w.Tileset().Count(), f.w.Document().Steps().Index(),
                          f.w.Document().Steps().Count() - f.w.Document().Steps().Index());
        }
        Report(report);
    }

    // Under an address-space limit with room for 8 layers of 8192 x 2048 cells (1 GiB of grid slots) and a
    // quarter GiB more: Apply, a fill, an Apply that runs out, Apply and a filled ellipse, each leaving its
    // status; then the real open dialog, with the thread that reads the folder for it, opened and closed by
    // the user.
    void childActionsOutOfMemory() {
        auto dialogs = std::make_shared<HalfRealDialogs>();
        EditorFixture f({}, {}, {}, dialogs);
        f.LoadSolidTiles(3, -1);
        const qint64 used = ProcessMemory::ResidentBytes("VmSize:");
        const rlimit limit{rlim_t(used + (qint64(5) << 28)), rlim_t(used + (qint64(5) << 28))};
        QVERIFY(used > 0 && setrlimit(RLIMIT_AS, &limit) == 0);
        QStringList steps;
        const auto note = [&](const char* step) { steps << Status(step, f.w); };
        Apply(f.w, "8", "32", "32", "8192", "2048");
        steps << QStringLiteral("Apply: %1 x %2").arg(f.w.MapWidth()).arg(f.w.MapHeight());
        f.PickTile(0);
        ChooseEditLayer(f.w, 0);
        ChooseTool(f.w, Tool::Fill);
        Click(f.w, 2, 2);
        note("fill");
        Apply(f.w, "8", "32", "32", "4096", "4096");
        note("Apply 4096");
        Apply(f.w, "8", "1", "1", "8192", "2048");
        note("Apply 1");
        ChooseTool(f.w, Tool::FilledEllipse);
        DragStroke(f.w, 1, 1, 200, 150);
        note("filled ellipse");
        bool seen = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                seen = true, dialog->reject();
        });
        closer.start(200);
        dialogs->real = true;
        ChooseItem("FileLoadTiles");
        steps << (seen ? "dialog: closed" : "dialog: never shown");
        Report(steps);
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
