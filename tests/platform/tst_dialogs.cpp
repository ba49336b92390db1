// The real open dialog in a folder where a file is swapped for a FIFO over and over: it lists the folder,
// and closes, without ever waiting on the FIFO. The dialog tells a file's type and icon from its name alone.
// The properties dialog and the context menu, shown for real and worked with keys and clicks while modal.
#include "FifoWatchdog.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <fcntl.h>
#include <functional>
#include <stdio.h>
#include <sys/stat.h>
#include <thread>

namespace {

// Runs user once the modal widget of type W is shown, while whatever opened it waits.
template <class W> void WhenShown(std::function<void(W*)> user) {
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, user] {
        W* shown = qobject_cast<W*>(QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                                      : QApplication::activePopupWidget());
        if (!shown || !shown->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        user(shown);
    });
    timer->start(20);
}

// A field's whole text replaced by typing, as a user selects it and types over it.
void TypeOver(QWidget* field, const QString& text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void openDialogBesideASwappedFifo() {
        QTemporaryDir dir;
        const QString image = dir.filePath("tiles.png"), fifo = dir.filePath("tiles.fifo");
        QImage picture(64, 32, QImage::Format_ARGB32);
        picture.fill(Qt::green);
        QVERIFY(picture.save(image));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        std::atomic<bool> stop = false;
        std::thread swapper([&] {
            const QByteArray a = QFile::encodeName(image), b = QFile::encodeName(fifo);
            while (!stop)
                ::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_EXCHANGE);
        });
        const FifoWatchdog watchdog({image, fifo}, std::chrono::milliseconds(6000));
        // The user looks at the listing for three seconds, then cancels.
        QTimer closer;
        QElapsedTimer shown;
        bool startedThere = false;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (!shown.isValid()) {
                shown.start();
                startedThere = QFileInfo(dialog->directory().absolutePath()) == QFileInfo(dir.path());
            } else if (shown.elapsed() >= 3000)
                dialog->reject();
        });
        closer.start(50);
        QElapsedTimer timer;
        timer.start();
        QWidget parent;
        const FolderItem chosen =
            QtDialogs().ShowOpenDialog(&parent, {"Select a PNG file", "PNG (*.png)", "Open", dir.path()});
        const qint64 ms = timer.elapsed();
        stop = true;
        swapper.join();
        QVERIFY(chosen.IsNull() && startedThere);
        QVERIFY2(shown.isValid() && ms < 5000, qPrintable(QStringLiteral("the dialog took %1 ms").arg(ms)));
    }

    // The dialog shows the values it is given (the ends of the 16-bit range and a text of two lines
    // included) and gives back what the user made of them: untouched fields keep their values exactly,
    // edits by key and click come back, Cancel gives nothing.
    void propertiesDialog_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("accept");
        QTest::newRow("untouched") << false << true;
        QTest::newRow("edited") << true << true;
        QTest::newRow("edited, cancelled") << true << false;
    }
    void propertiesDialog() {
        QFETCH(bool, edit);
        QFETCH(bool, accept);
        PropertiesRequest request;
        request.Title = QStringLiteral("Tile Properties");
        request.Facts = {{QStringLiteral("Tile"), QStringLiteral("3")}};
        request.Values = {
            true, false, -32768, 32767, 7, -1, QStringLiteral("two\nlines"), QStringLiteral("b")};
        request.Option = QStringLiteral("Also the placed cells");
        QString shown;
        WhenShown<QDialog>([&](QDialog* dialog) {
            const auto spin = [dialog](const char* name) {
                return dialog->findChild<QSpinBox*>(name)->value();
            };
            shown = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
                        .arg(dialog->windowTitle())
                        .arg(dialog->findChild<QCheckBox*>("chkPassable")->isChecked())
                        .arg(dialog->findChild<QCheckBox*>("chkDestroyable")->isChecked())
                        .arg(spin("spnWidth"))
                        .arg(spin("spnHeight"))
                        .arg(spin("spnListIndex"))
                        .arg(spin("spnImageValue"))
                        .arg(dialog->findChild<QLineEdit*>("txtCustom2")->text())
                        .arg(dialog->findChild<QCheckBox*>("chkOption")->isChecked())
                        .arg(dialog->findChild<QCheckBox*>("chkOption")->text());
            if (edit) {
                for (const char* box : {"chkPassable", "chkDestroyable", "chkOption"}) {
                    auto* check = dialog->findChild<QCheckBox*>(box);
                    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(4, check->height() / 2));
                }
                TypeOver(dialog->findChild<QSpinBox*>("spnHeight"), QStringLiteral("-32768"));
                TypeOver(dialog->findChild<QSpinBox*>("spnListIndex"), QStringLiteral("123"));
                TypeOver(dialog->findChild<QLineEdit*>("txtCustom1"), QStringLiteral("door"));
            }
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QTest::mouseClick(buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        QWidget parent;
        const std::optional<PropertiesAnswer> answer = QtDialogs().EditProperties(&parent, request);
        QCOMPARE(shown, "Tile Properties 1 0 -32768 32767 7 -1 b 0 Also the placed cells");
        QCOMPARE(answer.has_value(), accept);
        if (!accept)
            return;
        GameValues expected = request.Values;
        if (edit)
            expected = {false, true, -32768, -32768, 123, -1, QStringLiteral("door"), QStringLiteral("b")};
        QVERIFY(answer->Values == expected);
        QCOMPARE(answer->Option, edit);
    }

    // The context menu gives the index of the item chosen; a disabled item is passed over, and Escape
    // chooses nothing.
    void contextMenu_data() {
        QTest::addColumn<bool>("secondEnabled");
        QTest::addColumn<int>("downs");
        QTest::addColumn<int>("chosen");
        QTest::newRow("first") << true << 1 << 0;
        QTest::newRow("second") << true << 2 << 1;
        QTest::newRow("second disabled") << false << 2 << 0;
        QTest::newRow("escape") << true << 0 << -1;
    }
    void contextMenu() {
        QFETCH(bool, secondEnabled);
        QFETCH(int, downs);
        QFETCH(int, chosen);
        WhenShown<QMenu>([downs](QMenu* menu) {
            for (int i = 0; i < downs; ++i)
                QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, downs > 0 ? Qt::Key_Return : Qt::Key_Escape);
        });
        QWidget parent;
        QCOMPARE(QtDialogs().ShowMenu(&parent, QPoint(10, 10), {{"One", true}, {"Two", secondEnabled}}),
                 chosen);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
