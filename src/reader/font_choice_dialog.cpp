#include "reader/font_choice_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mz {

FontChoiceDialog::FontChoiceDialog(const QFont& font, const QColor& color, QWidget* parent)
    : QDialog(parent), fontPicker(new QFontDialog(font, this)), colorButton(new QPushButton(this)) {
    setWindowTitle(QStringLiteral("字体"));
    fontPicker->setObjectName(QStringLiteral("fontPicker"));
    fontPicker->setOptions(QFontDialog::NoButtons);
    fontPicker->setWindowFlags(Qt::Widget);
    colorButton->setObjectName(QStringLiteral("colorButton"));
    connect(colorButton, &QPushButton::clicked, this, &FontChoiceDialog::pickColor);
    setSelectedColor(color);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(new QLabel(QStringLiteral("颜色："), this));
    colorRow->addWidget(colorButton);
    colorRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontPicker);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
}

QFont FontChoiceDialog::selectedFont() const {
    return fontPicker->currentFont();
}

void FontChoiceDialog::setSelectedColor(const QColor& color) {
    color_ = color;
    colorButton->setStyleSheet(QStringLiteral("background-color: %1").arg(color.name()));
}

void FontChoiceDialog::pickColor() {
    const QColor chosen = QColorDialog::getColor(color_, this);
    if (chosen.isValid())
        setSelectedColor(chosen);
}

} // namespace mz
