#include "platform/PropertiesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace {

// A tile's picture is shown at least this big, so a small tile can be made out.
constexpr int kPictureSide = 48;

QCheckBox* Flag(QWidget* parent, const char* name, bool on) {
    auto* box = new QCheckBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

QSpinBox* Number(QWidget* parent, const char* name, std::int16_t value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    spin->setValue(value);
    return spin;
}

QLineEdit* Text(QWidget* parent, const char* name, const QString& value) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    // A text from a map file may be longer than a field takes by default.
    field->setMaxLength(std::max<int>(field->maxLength(), static_cast<int>(value.size())));
    field->setText(value);
    return field;
}

QLabel* Fact(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

PropertiesDialog::PropertiesDialog(const PropertiesRequest& request, QWidget* parent)
    : QDialog(parent), m_shown(request.Values) {
    setObjectName(QStringLiteral("PropertiesDialog"));
    setWindowTitle(request.Title);
    auto* layout = new QVBoxLayout(this);

    auto* about = new QHBoxLayout();
    if (!request.Picture.isNull()) {
        auto* picture = new QLabel(this);
        QPixmap pixmap = QPixmap::fromImage(request.Picture);
        if (pixmap.width() < kPictureSide && pixmap.height() < kPictureSide)
            pixmap = pixmap.scaled(kPictureSide, kPictureSide, Qt::KeepAspectRatio, Qt::FastTransformation);
        picture->setPixmap(pixmap);
        about->addWidget(picture, 0, Qt::AlignTop);
    }
    auto* facts = new QFormLayout();
    for (const auto& [label, value] : request.Facts)
        facts->addRow(Fact(this, label), Fact(this, value));
    about->addLayout(facts, 1);
    layout->addLayout(about);

    const GameValues& v = request.Values;
    m_passable = Flag(this, "chkPassable", v.passable);
    m_destroyable = Flag(this, "chkDestroyable", v.destroyable);
    m_numbers = {Number(this, "spnWidth", v.width), Number(this, "spnHeight", v.height),
                 Number(this, "spnListIndex", v.listIndex), Number(this, "spnImageValue", v.imageValue)};
    m_custom1 = Text(this, "txtCustom1", v.custom1);
    m_custom2 = Text(this, "txtCustom2", v.custom2);
    QWidget* const fields[kGameValueCount] = {m_passable,   m_destroyable, m_numbers[0], m_numbers[1],
                                              m_numbers[2], m_numbers[3],  m_custom1,    m_custom2};
    auto* values = new QFormLayout();
    for (int i = 0; i < kGameValueCount; ++i)
        values->addRow(GameValueLabel(static_cast<GameValue>(i)), fields[i]);
    layout->addLayout(values);

    if (!request.Option.isEmpty()) {
        m_option = Flag(this, "chkOption", false);
        m_option->setText(request.Option);
        layout->addWidget(m_option);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

PropertiesAnswer PropertiesDialog::Answer() const {
    PropertiesAnswer answer;
    GameValues& v = answer.Values;
    v.passable = m_passable->isChecked();
    v.destroyable = m_destroyable->isChecked();
    // The spin boxes hold their values within the 16-bit range.
    v.width = static_cast<std::int16_t>(m_numbers[0]->value());
    v.height = static_cast<std::int16_t>(m_numbers[1]->value());
    v.listIndex = static_cast<std::int16_t>(m_numbers[2]->value());
    v.imageValue = static_cast<std::int16_t>(m_numbers[3]->value());
    // A field shows a text on one line; one the user did not touch keeps its text exactly, line breaks and
    // all.
    v.custom1 = m_custom1->isModified() ? m_custom1->text() : m_shown.custom1;
    v.custom2 = m_custom2->isModified() ? m_custom2->text() : m_shown.custom2;
    answer.Option = m_option && m_option->isChecked();
    return answer;
}
