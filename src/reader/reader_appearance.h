#pragma once

// The chapter text's font, text colour and background: chosen in the font dialog
// and the colour picker, read from "config.ini" when the reader window is made
// and written back when it goes.

#include <QColor>
#include <QFont>
#include <QObject>

#include <functional>
#include <optional>

class QPlainTextEdit;
class QPushButton;

namespace mz {

// Windows colour values: red in the low byte, then green, then blue.
QColor fromWindowsColor(int value);
int toWindowsColor(const QColor& color);

class ReaderAppearance : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QPlainTextEdit* text;     // 编辑框_内容
        QPushButton* fontButton;  // 按钮2
        QPushButton* colorPicker; // 颜色选择器1
    };

    // Applies the settings file at once.
    ReaderAppearance(Controls controls, QString settingsPath,
                     std::function<void(const QString&)> inform, QObject* parent);

    void chooseFont();       // click on the font button
    void chooseBackground(); // click on the colour picker
    // The picker's colour changed: it becomes the background.
    void setPickerColor(const QColor& color);
    QColor pickerColor() const { return pickerColor_; }

    // Writes the four values; a failed write is told. Returns whether written.
    bool save();

    QColor textColor() const;
    QColor backgroundColor() const;

  private:
    void apply();
    void setTextColor(const QColor& color);
    void setBackgroundColor(const QColor& color);

    Controls controls_;
    QString settingsPath_;
    std::function<void(const QString&)> inform_;
    QColor pickerColor_{Qt::white};
    // The dialog reopens with the last choice made in it in this window.
    std::optional<std::pair<QFont, QColor>> lastChoice_;
};

} // namespace mz
