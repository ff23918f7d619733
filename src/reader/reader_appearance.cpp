#include "reader/reader_appearance.h"

#include "reader/font_choice_dialog.h"
#include "reader/reader_settings.h"
#include "text/qt_text.h"

#include <QColorDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace mz {

QColor fromWindowsColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int toWindowsColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

ReaderAppearance::ReaderAppearance(Controls controls, QString settingsPath,
                                   std::function<void(const QString&)> inform, QObject* parent)
    : QObject(parent), controls_(controls), settingsPath_(std::move(settingsPath)),
      inform_(std::move(inform)) {
    connect(controls_.fontButton, &QPushButton::clicked, this, &ReaderAppearance::chooseFont);
    connect(controls_.colorPicker, &QPushButton::clicked, this,
            &ReaderAppearance::chooseBackground);
    controls_.colorPicker->setStyleSheet(
        QStringLiteral("background-color: %1").arg(pickerColor_.name()));
    apply();
}

void ReaderAppearance::apply() {
    const ReaderSettings settings = readReaderSettings(settingsPath_);
    QFont font = controls_.text->font();
    if (settings.fontName)
        font.setFamily(toQString(*settings.fontName));
    if (settings.fontSize && *settings.fontSize > 0)
        font.setPointSize(*settings.fontSize);
    controls_.text->setFont(font);
    if (settings.textColor)
        setTextColor(fromWindowsColor(*settings.textColor));
    if (settings.backgroundColor)
        setBackgroundColor(fromWindowsColor(*settings.backgroundColor));
}

QColor ReaderAppearance::textColor() const {
    return controls_.text->palette().color(QPalette::Text);
}

QColor ReaderAppearance::backgroundColor() const {
    return controls_.text->palette().color(QPalette::Base);
}

void ReaderAppearance::setTextColor(const QColor& color) {
    QPalette palette = controls_.text->palette();
    palette.setColor(QPalette::Text, color);
    controls_.text->setPalette(palette);
}

void ReaderAppearance::setBackgroundColor(const QColor& color) {
    QPalette palette = controls_.text->palette();
    palette.setColor(QPalette::Base, color);
    controls_.text->setPalette(palette);
}

void ReaderAppearance::chooseFont() {
    const auto [font, color] = lastChoice_.value_or(std::make_pair(QFont(), QColor(Qt::black)));
    FontChoiceDialog dialog(font, color, controls_.text->window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    lastChoice_ = std::make_pair(dialog.selectedFont(), dialog.selectedColor());
    // Face, size and colour only: bold, italic, underline and strikeout stay as they are.
    const QFont chosen = dialog.selectedFont();
    QFont applied = controls_.text->font();
    applied.setFamily(chosen.family());
    // A size given in pixels is turned into points at the screen's resolution.
    const int points = chosen.pointSize() > 0
                           ? chosen.pointSize()
                           : chosen.pixelSize() * 72 / controls_.text->logicalDpiY();
    if (points > 0)
        applied.setPointSize(points);
    controls_.text->setFont(applied);
    setTextColor(dialog.selectedColor());
}

void ReaderAppearance::chooseBackground() {
    const QColor chosen = QColorDialog::getColor(pickerColor_, controls_.text->window());
    if (chosen.isValid())
        setPickerColor(chosen);
}

void ReaderAppearance::setPickerColor(const QColor& color) {
    pickerColor_ = color;
    controls_.colorPicker->setStyleSheet(QStringLiteral("background-color: %1").arg(color.name()));
    setBackgroundColor(color);
}

bool ReaderAppearance::save() {
    const QFont font = controls_.text->font();
    const bool written =
        writeReaderSettings(settingsPath_, fromQString(font.family()), font.pointSize(),
                            toWindowsColor(textColor()), toWindowsColor(backgroundColor()));
    if (!written)
        inform_(QStringLiteral("无法保存阅读设置：") + settingsPath_);
    return written;
}

} // namespace mz
