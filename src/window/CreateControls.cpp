#include "platform/BevelButton.h"
#include "platform/Canvas.h"
#include "platform/PopupMenu.h"
#include "platform/ScrollBar.h"
#include "tiles/TileSwatch.h"
#include "window/ControlPlacement.h"
#include "window/StatusLabel.h"
#include "window/frmMain.h"

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
    tabpnlMain = new QTabWidget(w);
    tabpnlMain->setObjectName(QStringLiteral("tabpnlMain"));
    // Tabs at the foot of the panel keep the page controls at the top free of them.
    tabpnlMain->setTabPosition(QTabWidget::South);
    tabpnlMain->addTab(new QWidget(), QStringLiteral("Tools && Tiles"));
    tabpnlMain->addTab(new QWidget(), QStringLiteral("Map Properties"));
    tabpnlMain->setCurrentIndex(0);
    PlaceControl(tabpnlMain, kWindow, 10, 10, 301, 540, "LTB", kNoPage);

    txtWidth = MakeField(w, QStringLiteral("32"), "txtWidth");
    PlaceControl(txtWidth, kPanel, 236, 49, 52, 21, "TR", kPageMap);
    lblTileWidth = MakeLabel(w, QStringLiteral("Tile Width"), "lblTileWidth");
    PlaceControl(lblTileWidth, kPanel, 25, 49, 211, 21, "TR", kPageMap);
    txtHeight = MakeField(w, QStringLiteral("32"), "txtHeight");
    PlaceControl(txtHeight, kPanel, 236, 76, 52, 21, "TR", kPageMap);
    lblTileHeight = MakeLabel(w, QStringLiteral("Tile Height"), "lblTileHeight");
    PlaceControl(lblTileHeight, kPanel, 25, 76, 211, 21, "TR", kPageMap);
    txtName = MakeField(w, QString(), "txtName");
    PlaceControl(txtName, kPanel, 80, 20, 208, 22, "TR", kPageMap);
    lblName = MakeLabel(w, QStringLiteral("Name"), "lblName");
    PlaceControl(lblName, kPanel, 25, 20, 43, 20, "TR", kPageMap);

    btnLayer[0] = MakeBevel(w, QStringLiteral("btnLayer0"), QStringLiteral("View Layer 0"), true);
    PlaceControl(btnLayer[0], kWindow, 418, 10, 30, 30, "LT", kNoPage);
    lblEditLayer = MakeLabel(w, QStringLiteral("Edit Layer:"), "lblEditLayer");
    PlaceControl(lblEditLayer, kWindow, 684, 19, 74, 20, "LT", kNoPage);
    cboEditLayer = new PopupMenu(w);
    cboEditLayer->setObjectName(QStringLiteral("cboEditLayer"));
    cboEditLayer->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    cboEditLayer->setCurrentIndex(0);
    PlaceControl(cboEditLayer, kWindow, 760, 19, 52, 20, "LT", kNoPage);
    lblViewLayer = MakeLabel(w, QStringLiteral("View Layer(s):"), "lblViewLayer");
    PlaceControl(lblViewLayer, kWindow, 323, 19, 98, 20, "-", kNoPage);
    for (int i = 1; i < 8; ++i) {
        btnLayer[i] =
            MakeBevel(w, QStringLiteral("btnLayer%1").arg(i), QStringLiteral("View Layer %1").arg(i), false);
        PlaceControl(btnLayer[i], kWindow, 418 + 32 * i, 10, 30, 30, "LT", kNoPage);
    }
    btnViewGrid = MakeBevel(w, QStringLiteral("btnViewGrid"), QStringLiteral("View Grid"), true);
    PlaceControl(btnViewGrid, kWindow, 826, 10, 30, 30, "TR", kNoPage);
}

void frmMain::CreateCanvasControls() {
    QWidget* w = m_content;

    canTiles = new Canvas(w);
    canTiles->setObjectName(QStringLiteral("canTiles"));
    PlaceControl(canTiles, kPanel, 17, 110, 270, 402, "LTRB", kPageTools);
    canMain = new Canvas(w);
    canMain->setObjectName(QStringLiteral("canMain"));
    PlaceControl(canMain, kWindow, 324, 54, 536, 508, "LTRB", kNoPage);

    scbMainVertical = MakeScrollBar(w, Qt::Vertical, "scbMainVertical", 100, 20);
    PlaceControl(scbMainVertical, kWindow, 860, 54, 16, 508, "TRB", kNoPage);
    scbMainHorizontal = MakeScrollBar(w, Qt::Horizontal, "scbMainHorizontal", 100, 20);
    PlaceControl(scbMainHorizontal, kWindow, 323, 562, 537, 18, "LRB", kNoPage);

    lblStatus = new StatusLabel(w);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    PlaceControl(lblStatus, kWindow, 10, 554, 301, 20, "LB", kNoPage);
}

void frmMain::CreateMapAndToolControls() {
    QWidget* w = m_content;

    lblMapHeight = MakeLabel(w, QStringLiteral("Map Height (in tiles)"), "lblMapHeight");
    PlaceControl(lblMapHeight, kPanel, 25, 131, 211, 20, "-", kPageMap);
    txtMapHeight = MakeField(w, QStringLiteral("100"), "txtMapHeight");
    PlaceControl(txtMapHeight, kPanel, 236, 131, 52, 21, "TR", kPageMap);
    lblMapWidth = MakeLabel(w, QStringLiteral("Map Width (in tiles)"), "lblMapWidth");
    PlaceControl(lblMapWidth, kPanel, 25, 103, 211, 20, "-", kPageMap);
    txtMapWidth = MakeField(w, QStringLiteral("100"), "txtMapWidth");
    PlaceControl(txtMapWidth, kPanel, 236, 103, 52, 21, "TR", kPageMap);
    lblMapLayers = MakeLabel(w, QStringLiteral("Map Layers"), "lblMapLayers");
    PlaceControl(lblMapLayers, kPanel, 25, 159, 211, 20, "-", kPageMap);
    cboMapLayers = new PopupMenu(w);
    cboMapLayers->setObjectName(QStringLiteral("cboMapLayers"));
    for (int i = 1; i <= 8; ++i)
        cboMapLayers->addItem(QString::number(i));
    cboMapLayers->setCurrentIndex(2);
    PlaceControl(cboMapLayers, kPanel, 236, 159, 52, 20, "LT", kPageMap);
    btnApply = new QPushButton(QStringLiteral("Apply"), w);
    btnApply->setObjectName(QStringLiteral("btnApply"));
    btnApply->setAutoDefault(false);
    btnApply->setDefault(false);
    PlaceControl(btnApply, kPanel, 208, 482, 80, 20, "RB", kPageMap);

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
        btnTool[i] = MakeBevel(w, QStringLiteral("btnTool%1").arg(i), QLatin1String(b.help), false);
        PlaceControl(btnTool[i], kPanel, b.left, b.top, 30, 30, "-", kPageTools);
    }
    scbTilesVertical = MakeScrollBar(w, Qt::Vertical, "scbTilesVertical", 0, 1);
    PlaceControl(scbTilesVertical, kPanel, 287, 110, 16, 402, "TRB", kPageTools);
    // In the free place at the end of the second row of tools, above the palette.
    swatchSelectedTile = new TileSwatch(w);
    swatchSelectedTile->setObjectName(QStringLiteral("swatchSelectedTile"));
    swatchSelectedTile->setToolTip(QStringLiteral("Selected Tile"));
    PlaceControl(swatchSelectedTile, kPanel, 250, 68, 30, 30, "-", kPageTools);
}

void frmMain::RouteEvents() {
    connect(tabpnlMain, &QTabWidget::currentChanged, this, [this](int page) { ShowPageControls(page); });
    connect(txtWidth, &QLineEdit::textChanged, this, [f = route(&frmMain::txtWidth_TextChange)] { f(); });
    connect(txtHeight, &QLineEdit::textChanged, this, [f = route(&frmMain::txtHeight_TextChange)] { f(); });
    for (int i = 0; i < 8; ++i)
        btnLayer[i]->Action = [f = route(&frmMain::btnLayer_Action), i] { f(i); };
    for (int i = 0; i < kToolCount; ++i)
        btnTool[i]->Action = [f = route(&frmMain::btnTool_Action), i] { f(i); };
    connect(cboEditLayer, &QComboBox::currentIndexChanged, this,
            [f = route(&frmMain::cboEditLayer_Change)] { f(); });
    btnViewGrid->Action = route(&frmMain::btnViewGrid_Action);

    canTiles->Paint = route(&frmMain::canTiles_Paint);
    canTiles->MouseEnter = route(&frmMain::canTiles_MouseEnter);
    canTiles->MouseExit = route(&frmMain::canTiles_MouseExit);
    canTiles->MouseMove = route(&frmMain::canTiles_MouseMove);
    canTiles->MouseDown = route(&frmMain::canTiles_MouseDown);
    canTiles->MouseDrag = route(&frmMain::canTiles_MouseDrag);
    canTiles->MouseUp = route(&frmMain::canTiles_MouseUp);
    canTiles->MouseWheel = route(&frmMain::canTiles_MouseWheel);
    canTiles->ContextMenu = route(&frmMain::canTiles_ContextMenu);

    canMain->Paint = route(&frmMain::canMain_Paint);
    canMain->MouseMove = route(&frmMain::canMain_MouseMove);
    canMain->MouseEnter = route(&frmMain::canMain_MouseEnter);
    canMain->MouseExit = route(&frmMain::canMain_MouseExit);
    canMain->MouseDown = route(&frmMain::canMain_MouseDown);
    canMain->MouseDrag = route(&frmMain::canMain_MouseDrag);
    canMain->MouseUp = route(&frmMain::canMain_MouseUp);
    canMain->MouseCancel = route(&frmMain::canMain_MouseCancel);
    canMain->MouseWheel = route(&frmMain::canMain_MouseWheel);
    canMain->ContextMenu = route(&frmMain::canMain_ContextMenu);
    canMain->ToolTipAt = route(&frmMain::canMain_ToolTip);

    scbMainVertical->ValueChanged = route(&frmMain::scbMainVertical_ValueChanged);
    scbMainHorizontal->ValueChanged = route(&frmMain::scbMainHorizontal_ValueChanged);
    connect(txtMapHeight, &QLineEdit::textChanged, this,
            [f = route(&frmMain::txtMapHeight_TextChange)] { f(); });
    connect(txtMapWidth, &QLineEdit::textChanged, this,
            [f = route(&frmMain::txtMapWidth_TextChange)] { f(); });
    connect(btnApply, &QPushButton::clicked, this, [f = route(&frmMain::btnApply_Action)] { f(); });
    scbTilesVertical->ValueChanged = route(&frmMain::scbTilesVertical_ValueChanged);
}
