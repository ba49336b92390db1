// The real open dialog in a folder where a file is swapped for a FIFO over and over: it lists the folder,
// and closes, without ever waiting on the FIFO. The dialog tells a file's type and icon from its name alone.
#include "FifoWatchdog.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <thread>

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
        QVERIFY(QDir::setCurrent(dir.path()));
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
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (!shown.isValid())
                shown.start();
            else if (shown.elapsed() >= 3000)
                dialog->reject();
        });
        closer.start(50);
        QElapsedTimer timer;
        timer.start();
        QWidget parent;
        const FolderItem chosen =
            QtDialogs().ShowOpenDialog(&parent, {"Select a PNG file", "PNG (*.png)", "Open"});
        const qint64 ms = timer.elapsed();
        stop = true;
        swapper.join();
        QVERIFY(chosen.IsNull());
        QVERIFY2(shown.isValid() && ms < 5000, qPrintable(QStringLiteral("the dialog took %1 ms").arg(ms)));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
