#pragma once

// The font dialog of the reader: face, size and the effects colour. Qt's own
// font dialog has no colour, so it is embedded here beside a colour button.

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace mz {

class FontChoiceDialog : public QDialog {
    Q_OBJECT

  public:
    FontChoiceDialog(const QFont& font, const QColor& color, QWidget* parent);

    QFont selectedFont() const;
    QColor selectedColor() const { return color_; }
    void setSelectedColor(const QColor& color);

    QFontDialog* const fontPicker;
    QPushButton* const colorButton;

  private:
    void pickColor();

    QColor color_;
};

} // namespace mz
