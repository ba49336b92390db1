// The Map Properties page: Apply makes its fields the map's settings, and typed fields not yet applied are
// settled before the map is saved or left.
#include "document/MapSettings.h"
#include "platform/BusyCursor.h"
#include "platform/EditorColours.h"
#include "platform/Val.h"
#include "window/frmMain.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// Cells over all layers from which Apply shows its progress.
constexpr std::int64_t kLargeApply = std::int64_t{1} << 24;
} // namespace

void frmMain::btnApply_Action() {
    ApplyMapProperties();
}

bool frmMain::ApplyMapProperties() {
    m_memoryReserve.Replenish();
    // Every field is checked before anything changes, so a refused Apply leaves the editor as it was.
    const int layers = std::clamp(ValInt(m_ui.cboMapLayers->currentText()), 1, 8);
    const SizeFieldVerdict tileW = CheckTileSide(m_ui.txtWidth->text(), QStringLiteral("Tile width"));
    const SizeFieldVerdict tileH = CheckTileSide(m_ui.txtHeight->text(), QStringLiteral("Tile height"));
    const MapSizeRequest size =
        CheckMapSize(m_ui.txtMapWidth->text(), m_ui.txtMapHeight->text(), MapWidth(), MapHeight());
    // The first field refused, in the order the fields are checked, names the refusal.
    QString refusal = size.refusal;
    if (tileH.kind == SizeFieldVerdict::Refuse)
        refusal = tileH.message;
    if (tileW.kind == SizeFieldVerdict::Refuse)
        refusal = tileW.message;
    if (!refusal.isEmpty()) {
        UpdateStatus(refusal, kFailureColour, 0);
        return false;
    }
    MapSettingsValues wanted = Document().Settings();
    wanted.layers = layers;
    wanted.tileWidth = tileW.value;
    wanted.tileHeight = tileH.value;
    wanted.mapWidth = size.width;
    wanted.mapHeight = size.height;
    wanted.name = m_ui.txtName->text();
    const BusyCursor busy;
    // Making the grids of a large map takes a while: its progress shows, layer by layer, and a cancel
    // leaves the map as it was.
    const std::int64_t largest =
        std::max(std::int64_t{MapWidth()} * MapHeight(), std::int64_t{wanted.mapWidth} * wanted.mapHeight) *
        wanted.layers;
    std::unique_ptr<WorkDialog> work;
    if (largest >= kLargeApply)
        work = m_dialogs->StartWork(this, QStringLiteral("Applying the map properties"));
    bool applied = false;
    Guarded(QStringLiteral("Apply"), [&] {
        const MapDocument::ApplyResult result = Document().Apply(
            wanted, [&work](qint64 done, qint64 total) { return !work || work->Update(done, total); });
        if (result.kind == MapDocument::ApplyResult::Refused) {
            work.reset();
            UpdateStatus(result.reason, kFailureColour, 0);
            return;
        }
        applied = result.kind == MapDocument::ApplyResult::Applied;
        // The fields show the settings as the map holds them ("032" as 32), so they no longer count as typed.
        if (applied)
            ShowSettings();
        Refresh();
    });
    return applied;
}

bool frmMain::MapPropertiesTyped() const {
    const MapSettingsValues& settings = Document().Settings();
    return m_ui.txtWidth->text() != QString::number(settings.tileWidth) ||
           m_ui.txtHeight->text() != QString::number(settings.tileHeight) ||
           m_ui.txtMapWidth->text() != QString::number(settings.mapWidth) ||
           m_ui.txtMapHeight->text() != QString::number(settings.mapHeight) ||
           m_ui.cboMapLayers->currentIndex() != settings.layers - 1 || m_ui.txtName->text() != settings.name;
}

bool frmMain::SettleTypedProperties() {
    if (!MapPropertiesTyped())
        return true;
    Question question;
    question.Text = QStringLiteral("Apply the map properties you typed?");
    question.Details = QStringLiteral("The map does not have them until they are applied.");
    question.Buttons = {{QStringLiteral("Apply"), QMessageBox::AcceptRole},
                        {QStringLiteral("Don't Apply"), QMessageBox::DestructiveRole},
                        {QStringLiteral("Cancel"), QMessageBox::RejectRole}};
    question.Default = 0;
    question.Escape = 2;
    switch (Modal().Ask(this, question)) {
    case 0:
        return ApplyMapProperties();
    case 1:
        ShowSettings();
        return true;
    default:
        return false;
    }
}

void frmMain::ShowSettings() {
    const MapSettingsValues& settings = Document().Settings();
    m_ui.txtWidth->setText(QString::number(settings.tileWidth));
    m_ui.txtHeight->setText(QString::number(settings.tileHeight));
    m_ui.txtMapWidth->setText(QString::number(settings.mapWidth));
    m_ui.txtMapHeight->setText(QString::number(settings.mapHeight));
    m_ui.cboMapLayers->setCurrentIndex(settings.layers - 1);
    m_ui.txtName->setText(settings.name);
}
