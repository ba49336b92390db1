// The keys a user reaches for: a letter per tool, 0 to 7 for the edit layer, Ctrl with =, - and 0 for the
// zoom; and the wheel's modifiers over the map: Ctrl zooms, Shift scrolls sideways. The letters and digits
// are typing while a text field or a popup has the keyboard focus; a click on a canvas takes it back.
#include "platform/Canvas.h"
#include "window/frmMain.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <QWheelEvent>
#include <cstdlib>

namespace {
struct ToolKey {
    int key;
    bool shift;
    Tool tool;
};
constexpr ToolKey kToolKeys[] = {
    {Qt::Key_P, false, Tool::Plot},           {Qt::Key_E, false, Tool::Erase},
    {Qt::Key_L, false, Tool::Line},           {Qt::Key_R, false, Tool::Rectangle},
    {Qt::Key_R, true, Tool::FilledRectangle}, {Qt::Key_O, false, Tool::Ellipse},
    {Qt::Key_O, true, Tool::FilledEllipse},   {Qt::Key_F, false, Tool::Fill},
    {Qt::Key_S, false, Tool::Select}};

// Widgets that take typed letters and digits as their own.
bool TakesTyping(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget);
}
} // namespace

void frmMain::CreateZoomAndKeys() {
    const auto zoomKey = [this](const char* keys, auto action) {
        for (const QString& key : QString::fromLatin1(keys).split(QLatin1Char('|'))) {
            auto* shortcut = new QShortcut(QKeySequence(key), this);
            connect(shortcut, &QShortcut::activated, this, [this, action] {
                if (m_blnOpen)
                    Guarded(QStringLiteral("zoom"), action);
            });
        }
    };
    zoomKey("Ctrl+=|Ctrl++", [this] { ZoomBy(1, ZoomAnchor()); });
    zoomKey("Ctrl+-", [this] { ZoomBy(-1, ZoomAnchor()); });
    zoomKey("Ctrl+0", [this] { ZoomTo(100, ZoomAnchor()); });
    m_ui.canMain->installEventFilter(this);
    m_ui.canTiles->installEventFilter(this);
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (Guarded(QStringLiteral("the action"), [&] { return EditorKey(event->key(), event->modifiers()); }))
        event->accept();
    else
        QMainWindow::keyPressEvent(event);
}

bool frmMain::EditorKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!m_blnOpen || QApplication::activePopupWidget() || TakesTyping(QApplication::focusWidget()))
        return false;
    // Digits of the keypad count as digits.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (key == Qt::Key_Escape && held == Qt::NoModifier)
        return EscapePressed();
    if (held == Qt::NoModifier && key >= Qt::Key_0 && key <= Qt::Key_7) {
        const int row = m_ui.cboEditLayer->findText(QString::number(key - Qt::Key_0));
        if (row < 0)
            return false;
        if (row != m_ui.cboEditLayer->currentIndex()) {
            // The stroke under way belongs to the layer it began on.
            m_ui.canMain->CancelStroke();
            m_ui.cboEditLayer->setCurrentIndex(row);
        }
        return true;
    }
    if (held != Qt::NoModifier && held != Qt::ShiftModifier)
        return false;
    for (const ToolKey& k : kToolKeys) {
        if (k.key != key || k.shift != (held == Qt::ShiftModifier))
            continue;
        if (k.tool != m_stroke.CurrentTool()) {
            UseTool(k.tool);
            // The pointer's cursor changes with the tool; a report on the status line stays.
            RefreshKeepingReport();
        }
        return true;
    }
    return false;
}

void frmMain::TakeFocusFromFields() {
    QWidget* focus = QApplication::focusWidget();
    if (focus && isAncestorOf(focus) && TakesTyping(focus))
        m_content->setFocus(Qt::MouseFocusReason);
}

bool frmMain::MapWheelWithModifiers(QWheelEvent* event) {
    const Qt::KeyboardModifiers held = event->modifiers();
    if (held & Qt::ControlModifier) {
        // Turned away from the user, the wheel zooms in.
        const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
        const int steps = m_view.ZoomStepsOfWheel(delta);
        if (steps != 0 && m_blnOpen)
            Guarded(QStringLiteral("zoom"), [&] { ZoomBy(steps, event->position().toPoint()); });
        event->accept();
        return true;
    }
    if (held & Qt::ShiftModifier) {
        // The same turn, sideways, for the canvas to scroll by.
        const QPoint angle(event->angleDelta().y(), event->angleDelta().x());
        const QPoint pixels(event->pixelDelta().y(), event->pixelDelta().x());
        QWheelEvent sideways(event->position(), event->globalPosition(), pixels, angle, event->buttons(),
                             held & ~Qt::ShiftModifier, event->phase(), event->inverted(), event->source());
        QApplication::sendEvent(m_ui.canMain, &sideways);
        event->setAccepted(sideways.isAccepted());
        return true;
    }
    return false;
}
