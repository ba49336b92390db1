#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/PopupMenu.h"
#include "platform/ScrollBar.h"
#include "tiles/TileSwatch.h"
#include "window/ControlPlacement.h"
#include "window/Routed.h"
#include "window/StatusLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {
constexpr int kWindow = 0;
constexpr int kPanel = 1;
constexpr int kNoPage = -1;
constexpr int kPageTools = 0;
constexpr int kPageMap = 1;

QLabel* MakeLabel(QWidget* parent, const QString& text, const char* name) {
    auto* label = new QLabel(parent);
    // Texts such as a tileset's file name are shown as they are, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit* MakeField(QWidget* parent, const QString& text, const char* name) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setAttribute(Qt::WA_MacShowFocusRect, false);
    return field;
}

BevelButton* MakeBevel(QWidget* parent, const QString& name, const QString& help, bool pressed) {
    auto* button = new BevelButton(parent);
    button->setObjectName(name);
    button->setToolTip(help);
    button->SetValue(pressed);
    return button;
}
ScrollBar* MakeScrollBar(QWidget* parent, Qt::Orientation orientation, const char* name, int maximum,
                         int pageStep) {
    auto* bar = new ScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(pageStep);
    return bar;
}
} // namespace

void frmMain::CreateControls() {
    // Created in this order, which is also the order Tab moves the focus in.
    CreateSettingsAndLayerControls();
    CreateCanvasControls();
    CreateMapAndToolControls();
    ShowPageControls(0);
    RouteEvents();
}

void frmMain::CreateSettingsAndLayerControls() {
    QWidget* w = m_content;
    m_ui.tabpnlMain = new QTabWidget(w);
    m_ui.tabpnlMain->setObjectName(QStringLiteral("tabpnlMain"));
    // Tabs at the foot of the panel keep the page controls at the top free of them.
    m_ui.tabpnlMain->setTabPosition(QTabWidget::South);
    m_ui.tabpnlMain->addTab(new QWidget(), QStringLiteral("Tools && Tiles"));
    m_ui.tabpnlMain->addTab(new QWidget(), QStringLiteral("Map Properties"));
    m_ui.tabpnlMain->setCurrentIndex(0);
    PlaceControl(m_ui.tabpnlMain, kWindow, 10, 10, 301, 540, "LTB", kNoPage);

    m_ui.txtWidth = MakeField(w, QStringLiteral("32"), "txtWidth");
    PlaceControl(m_ui.txtWidth, kPanel, 236, 49, 52, 21, "TR", kPageMap);
    m_ui.lblTileWidth = MakeLabel(w, QStringLiteral("Tile Width"), "lblTileWidth");
    PlaceControl(m_ui.lblTileWidth, kPanel, 25, 49, 211, 21, "TR", kPageMap);
    m_ui.txtHeight = MakeField(w, QStringLiteral("32"), "txtHeight");
    PlaceControl(m_ui.txtHeight, kPanel, 236, 76, 52, 21, "TR", kPageMap);
    m_ui.lblTileHeight = MakeLabel(w, QStringLiteral("Tile Height"), "lblTileHeight");
    PlaceControl(m_ui.lblTileHeight, kPanel, 25, 76, 211, 21, "TR", kPageMap);
    m_ui.txtName = MakeField(w, QString(), "txtName");
    PlaceControl(m_ui.txtName, kPanel, 80, 20, 208, 22, "TR", kPageMap);
    m_ui.lblName = MakeLabel(w, QStringLiteral("Name"), "lblName");
    PlaceControl(m_ui.lblName, kPanel, 25, 20, 43, 20, "TR", kPageMap);

    m_ui.btnLayer[0] = MakeBevel(w, QStringLiteral("btnLayer0"), QStringLiteral("View Layer 0"), true);
    PlaceControl(m_ui.btnLayer[0], kWindow, 418, 10, 30, 30, "LT", kNoPage);
    m_ui.lblEditLayer = MakeLabel(w, QStringLiteral("Edit Layer:"), "lblEditLayer");
    PlaceControl(m_ui.lblEditLayer, kWindow, 684, 19, 74, 20, "LT", kNoPage);
    m_ui.cboEditLayer = new PopupMenu(w);
    m_ui.cboEditLayer->setObjectName(QStringLiteral("cboEditLayer"));
    m_ui.cboEditLayer->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    m_ui.cboEditLayer->setCurrentIndex(0);
    PlaceControl(m_ui.cboEditLayer, kWindow, 760, 19, 52, 20, "LT", kNoPage);
    m_ui.lblViewLayer = MakeLabel(w, QStringLiteral("View Layer(s):"), "lblViewLayer");
    PlaceControl(m_ui.lblViewLayer, kWindow, 323, 19, 98, 20, "-", kNoPage);
    for (int i = 1; i < 8; ++i) {
        m_ui.btnLayer[i] =
            MakeBevel(w, QStringLiteral("btnLayer%1").arg(i), QStringLiteral("View Layer %1").arg(i), false);
        PlaceControl(m_ui.btnLayer[i], kWindow, 418 + 32 * i, 10, 30, 30, "LT", kNoPage);
    }
    m_ui.btnViewGrid = MakeBevel(w, QStringLiteral("btnViewGrid"), QStringLiteral("View Grid"), true);
    PlaceControl(m_ui.btnViewGrid, kWindow, 826, 10, 30, 30, "TR", kNoPage);
}

void frmMain::CreateCanvasControls() {
    QWidget* w = m_content;

    m_ui.canTiles = new Canvas(w);
    m_ui.canTiles->setObjectName(QStringLiteral("canTiles"));
    PlaceControl(m_ui.canTiles, kPanel, 17, 110, 270, 402, "LTRB", kPageTools);
    m_ui.canMain = new Canvas(w);
    m_ui.canMain->setObjectName(QStringLiteral("canMain"));
    PlaceControl(m_ui.canMain, kWindow, 324, 54, 536, 508, "LTRB", kNoPage);

    m_ui.scbMainVertical = MakeScrollBar(w, Qt::Vertical, "scbMainVertical", 100, 20);
    PlaceControl(m_ui.scbMainVertical, kWindow, 860, 54, 16, 508, "TRB", kNoPage);
    m_ui.scbMainHorizontal = MakeScrollBar(w, Qt::Horizontal, "scbMainHorizontal", 100, 20);
    PlaceControl(m_ui.scbMainHorizontal, kWindow, 323, 562, 537, 18, "LRB", kNoPage);

    m_ui.lblStatus = new StatusLabel(w);
    m_ui.lblStatus->setObjectName(QStringLiteral("lblStatus"));
    PlaceControl(m_ui.lblStatus, kWindow, 10, 554, 301, 20, "LB", kNoPage);
}

void frmMain::CreateMapAndToolControls() {
    QWidget* w = m_content;

    m_ui.lblMapHeight = MakeLabel(w, QStringLiteral("Map Height (in tiles)"), "lblMapHeight");
    PlaceControl(m_ui.lblMapHeight, kPanel, 25, 131, 211, 20, "-", kPageMap);
    m_ui.txtMapHeight = MakeField(w, QStringLiteral("100"), "txtMapHeight");
    PlaceControl(m_ui.txtMapHeight, kPanel, 236, 131, 52, 21, "TR", kPageMap);
    m_ui.lblMapWidth = MakeLabel(w, QStringLiteral("Map Width (in tiles)"), "lblMapWidth");
    PlaceControl(m_ui.lblMapWidth, kPanel, 25, 103, 211, 20, "-", kPageMap);
    m_ui.txtMapWidth = MakeField(w, QStringLiteral("100"), "txtMapWidth");
    PlaceControl(m_ui.txtMapWidth, kPanel, 236, 103, 52, 21, "TR", kPageMap);
    m_ui.lblMapLayers = MakeLabel(w, QStringLiteral("Map Layers"), "lblMapLayers");
    PlaceControl(m_ui.lblMapLayers, kPanel, 25, 159, 211, 20, "-", kPageMap);
    m_ui.cboMapLayers = new PopupMenu(w);
    m_ui.cboMapLayers->setObjectName(QStringLiteral("cboMapLayers"));
    for (int i = 1; i <= 8; ++i)
        m_ui.cboMapLayers->addItem(QString::number(i));
    m_ui.cboMapLayers->setCurrentIndex(2);
    PlaceControl(m_ui.cboMapLayers, kPanel, 236, 159, 52, 20, "LT", kPageMap);
    m_ui.btnApply = new QPushButton(QStringLiteral("Apply"), w);
    m_ui.btnApply->setObjectName(QStringLiteral("btnApply"));
    m_ui.btnApply->setAutoDefault(false);
    m_ui.btnApply->setDefault(false);
    PlaceControl(m_ui.btnApply, kPanel, 208, 482, 80, 20, "RB", kPageMap);

    struct ToolButton {
        Tool tool;
        int left;
        int top;
        // The tool's name with the key that chooses it.
        const char* help;
    };
    // In the order they are created, which is the order Tab moves through them.
    constexpr ToolButton kToolButtons[] = {{Tool::Erase, 82, 26, "Erase (E)"},
                                           {Tool::Line, 124, 26, "Line (L)"},
                                           {Tool::Rectangle, 166, 26, "Rectangle (R)"},
                                           {Tool::FilledRectangle, 208, 26, "Filled Rectangle (Shift+R)"},
                                           {Tool::Ellipse, 250, 26, "Ellipse (O)"},
                                           {Tool::Plot, 40, 26, "Plot (P)"},
                                           {Tool::FilledEllipse, 40, 68, "Filled Ellipse (Shift+O)"},
                                           {Tool::Fill, 82, 68, "Fill (F)"},
                                           {Tool::Select, 124, 68, "Select (S)"}};
    for (const ToolButton& b : kToolButtons) {
        const int i = ToolIndex(b.tool);
        m_ui.btnTool[i] = MakeBevel(w, QStringLiteral("btnTool%1").arg(i), QLatin1String(b.help), false);
        PlaceControl(m_ui.btnTool[i], kPanel, b.left, b.top, 30, 30, "-", kPageTools);
    }
    m_ui.scbTilesVertical = MakeScrollBar(w, Qt::Vertical, "scbTilesVertical", 0, 1);
    PlaceControl(m_ui.scbTilesVertical, kPanel, 287, 110, 16, 402, "TRB", kPageTools);
    // In the free place at the end of the second row of tools, above the palette.
    m_ui.swatchSelectedTile = new TileSwatch(w);
    m_ui.swatchSelectedTile->setObjectName(QStringLiteral("swatchSelectedTile"));
    m_ui.swatchSelectedTile->setToolTip(QStringLiteral("Selected Tile"));
    PlaceControl(m_ui.swatchSelectedTile, kPanel, 250, 68, 30, 30, "-", kPageTools);
}

void frmMain::RouteEvents() {
    connect(m_ui.tabpnlMain, &QTabWidget::currentChanged, this, [this](int page) { ShowPageControls(page); });
    connect(m_ui.txtWidth, &QLineEdit::textChanged, this,
            [f = Routed(this, &frmMain::txtWidth_TextChange)] { f(); });
    connect(m_ui.txtHeight, &QLineEdit::textChanged, this,
            [f = Routed(this, &frmMain::txtHeight_TextChange)] { f(); });
    for (int i = 0; i < 8; ++i)
        m_ui.btnLayer[i]->Action = [f = Routed(this, &frmMain::btnLayer_Action), i] { f(i); };
    for (int i = 0; i < kToolCount; ++i)
        m_ui.btnTool[i]->Action = [f = Routed(this, &frmMain::btnTool_Action), i] { f(i); };
    connect(m_ui.cboEditLayer, &QComboBox::currentIndexChanged, this,
            [f = Routed(this, &frmMain::cboEditLayer_Change)] { f(); });
    m_ui.btnViewGrid->Action = Routed(this, &frmMain::btnViewGrid_Action);

    m_ui.canTiles->Paint = Routed(this, &frmMain::canTiles_Paint);
    m_ui.canTiles->MouseEnter = Routed(this, &frmMain::canTiles_MouseEnter);
    m_ui.canTiles->MouseExit = Routed(this, &frmMain::canTiles_MouseExit);
    m_ui.canTiles->MouseMove = Routed(this, &frmMain::canTiles_MouseMove);
    m_ui.canTiles->MouseDown = Routed(this, &frmMain::canTiles_MouseDown);
    m_ui.canTiles->MouseDrag = Routed(this, &frmMain::canTiles_MouseDrag);
    m_ui.canTiles->MouseUp = Routed(this, &frmMain::canTiles_MouseUp);
    m_ui.canTiles->MouseWheel = Routed(this, &frmMain::canTiles_MouseWheel);
    m_ui.canTiles->ContextMenu = Routed(this, &frmMain::canTiles_ContextMenu);

    m_ui.canMain->Paint = Routed(this, &frmMain::canMain_Paint);
    m_ui.canMain->MouseMove = Routed(this, &frmMain::canMain_MouseMove);
    m_ui.canMain->MouseEnter = Routed(this, &frmMain::canMain_MouseEnter);
    m_ui.canMain->MouseExit = Routed(this, &frmMain::canMain_MouseExit);
    m_ui.canMain->MouseDown = Routed(this, &frmMain::canMain_MouseDown);
    m_ui.canMain->MouseDrag = Routed(this, &frmMain::canMain_MouseDrag);
    m_ui.canMain->MouseUp = Routed(this, &frmMain::canMain_MouseUp);
    m_ui.canMain->MouseCancel = Routed(this, &frmMain::canMain_MouseCancel);
    m_ui.canMain->MouseWheel = Routed(this, &frmMain::canMain_MouseWheel);
    m_ui.canMain->ContextMenu = Routed(this, &frmMain::canMain_ContextMenu);
    m_ui.canMain->ToolTipAt = Routed(this, &frmMain::canMain_ToolTip);

    m_ui.scbMainVertical->ValueChanged = Routed(this, &frmMain::scbMainVertical_ValueChanged);
    m_ui.scbMainHorizontal->ValueChanged = Routed(this, &frmMain::scbMainHorizontal_ValueChanged);
    connect(m_ui.txtMapHeight, &QLineEdit::textChanged, this,
            [f = Routed(this, &frmMain::txtMapHeight_TextChange)] { f(); });
    connect(m_ui.txtMapWidth, &QLineEdit::textChanged, this,
            [f = Routed(this, &frmMain::txtMapWidth_TextChange)] { f(); });
    connect(m_ui.btnApply, &QPushButton::clicked, this,
            [f = Routed(this, &frmMain::btnApply_Action)] { f(); });
    m_ui.scbTilesVertical->ValueChanged = Routed(this, &frmMain::scbTilesVertical_ValueChanged);
}
