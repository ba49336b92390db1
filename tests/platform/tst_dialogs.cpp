// The real open dialog in a folder where a file is swapped for a FIFO over and over: it lists the folder,
// and closes, without ever waiting on the FIFO. The dialog tells a file's type and icon from its name alone.
// The properties dialog and the context menu, shown for real and worked with keys and clicks while modal.
#include "SwappedFifo.h"
#include "UserSteps.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <functional>

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

// The properties dialog shown for real, its fields edited or not, then accepted or cancelled.
void EditProperties(bool edit, bool accept) {
    QImage picture(4, 2, QImage::Format_RGB32); // a small tile is shown enlarged, its shape kept, unblurred
    picture.fill(Qt::red);
    picture.setPixel(3, 1, qRgb(0, 0, 255));
    const PropertiesRequest request{QStringLiteral("Tile Properties"),
                                    {{QStringLiteral("Tile"), QStringLiteral("3")}},
                                    picture,
                                    {true, false, -32768, 32767, 7, -1, QStringLiteral("two\nlines"), "b"},
                                    QStringLiteral("Also the placed cells")};
    QString shown;
    WhenShown<QDialog>([&](QDialog* dialog) {
        const auto box = [dialog](const char* name) { return dialog->findChild<QCheckBox*>(name); };
        const auto spin = [dialog](const char* name) { return dialog->findChild<QSpinBox*>(name)->value(); };
        auto* buttons = dialog->findChild<QDialogButtonBox*>(); // shown below the fields
        QImage big;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            big = label->pixmap().isNull() ? big : label->pixmap().toImage();
        shown =
            Say(big.width(), big.height(),
                big.pixel(35, 11) == qRgb(255, 0, 0) && big.pixel(36, 12) == qRgb(0, 0, 255),
                dialog->windowTitle(), box("chkPassable")->isChecked(), box("chkDestroyable")->isChecked(),
                spin("spnWidth"), spin("spnHeight"), spin("spnListIndex"), spin("spnImageValue"),
                dialog->findChild<QLineEdit*>("txtCustom2")->text(), box("chkOption")->isChecked(),
                box("chkOption")->text(),
                buttons->mapTo(dialog, QPoint()).y() > box("chkOption")->mapTo(dialog, QPoint()).y());
        if (edit) {
            for (const char* name : {"chkPassable", "chkDestroyable", "chkOption"})
                QTest::mouseClick(box(name), Qt::LeftButton, {}, QPoint(4, box(name)->height() / 2));
            TypeOver(dialog->findChild<QSpinBox*>("spnHeight"), QStringLiteral("-32768"));
            TypeOver(dialog->findChild<QSpinBox*>("spnListIndex"), QStringLiteral("123"));
            TypeOver(dialog->findChild<QLineEdit*>("txtCustom1"), QStringLiteral("door"));
        }
        QTest::mouseClick(buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    QWidget parent;
    const std::optional<PropertiesAnswer> answer = QtDialogs().EditProperties(&parent, request);
    QCOMPARE(shown,
             "48 24 true Tile Properties true false -32768 32767 7 -1 b false Also the placed cells true");
    QCOMPARE(answer.has_value(), accept);
    const GameValues edited{false, true, -32768, -32768, 123, -1, QStringLiteral("door"), "b"};
    QVERIFY(!answer || (answer->Values == (edit ? edited : request.Values) && answer->Option == edit));
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void openDialogBesideASwappedFifo() {
        QTemporaryDir dir;
        const SwappedFifo swapping(dir.filePath("tiles.png"), dir.filePath("tiles.fifo"),
                                   std::chrono::milliseconds(6000));
        QVERIFY(swapping.Made());
        // The user looks at the listing for three seconds, then cancels.
        QElapsedTimer shown;
        bool startedThere = false;
        WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            shown.start();
            startedThere = QFileInfo(dialog->directory().absolutePath()) == QFileInfo(dir.path());
            QTimer::singleShot(3000, dialog, &QDialog::reject);
        });
        QElapsedTimer timer;
        timer.start();
        QWidget parent;
        const FolderItem chosen =
            QtDialogs().ShowOpenDialog(&parent, {"Select a PNG file", "PNG (*.png)", "Open", dir.path()});
        const qint64 ms = timer.elapsed();
        QVERIFY(chosen.IsNull() && startedThere);
        QVERIFY2(shown.isValid() && ms < 5000, qPrintable(QStringLiteral("the dialog took %1 ms").arg(ms)));
    }

    // The dialog shows the values it is given (the ends of the 16-bit range and a text of two lines
    // included) and gives back what the user made of them: untouched fields keep their values exactly,
    // edits by key and click come back, Cancel gives nothing.
    void propertiesDialog() {
        for (const auto& [edit, accept] : {std::pair{false, true}, {true, true}, {true, false}})
            EditProperties(edit, accept);
    }
    // A question shows the question icon, and its details as they are, markup and all, like its text.
    void questionDetailsArePlain() {
        QString shown;
        WhenShown<QMessageBox>([&shown](QMessageBox* box) {
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
            shown = label && label->textFormat() == Qt::PlainText && box->icon() == QMessageBox::Question
                        ? label->text()
                        : QStringLiteral("not a plain question");
            box->buttons().constFirst()->click();
        });
        QWidget parent;
        QCOMPARE(QtDialogs().Ask(&parent, Question{"Go on?", "<b>a</b>.png", {{"Go On"}}, 0, 0}), 0);
        QCOMPARE(shown, "<b>a</b>.png");
    }
    // The context menu gives the index of the item chosen; a disabled item is passed over, and Escape
    // chooses nothing.
    void contextMenu() {
        for (const auto& [secondEnabled, downs, chosen] :
             {std::tuple{true, 1, 0}, {true, 2, 1}, {false, 2, 0}, {true, 0, -1}}) {
            WhenShown<QMenu>([n = downs](QMenu* menu) {
                for (int i = 0; i < n; ++i)
                    QTest::keyClick(menu, Qt::Key_Down);
                QTest::keyClick(menu, n > 0 ? Qt::Key_Return : Qt::Key_Escape);
            });
            QWidget parent;
            QCOMPARE(QtDialogs().ShowMenu(&parent, QPoint(10, 10), {{"One", true}, {"Two", secondEnabled}}),
                     chosen);
        }
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
