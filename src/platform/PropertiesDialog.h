#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QSpinBox;

// The dialog that edits the eight game properties of a tile or a map cell: the two flags as check boxes, the
// four numbers as spin boxes over the whole signed 16-bit range, the two texts as text fields, with what they
// belong to shown read-only above them and, when asked for, an option below them. Its widgets carry object
// names (chkPassable, chkDestroyable, spnWidth, spnHeight, spnListIndex, spnImageValue, txtCustom1,
// txtCustom2, chkOption) so they can be found.
class PropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PropertiesDialog(const PropertiesRequest& request, QWidget* parent = nullptr);

    // What the fields hold now.
    PropertiesAnswer Answer() const;

private:
    // The values as the dialog was opened with them.
    GameValues m_shown;
    QCheckBox* m_passable = nullptr;
    QCheckBox* m_destroyable = nullptr;
    // Width, height, list index and image value.
    std::array<QSpinBox*, 4> m_numbers{};
    QLineEdit* m_custom1 = nullptr;
    QLineEdit* m_custom2 = nullptr;
    QCheckBox* m_option = nullptr;
};
