#pragma once

// Makers for controls placed at fixed positions, named after their form names
// (objectName() is the member's name, so tests and other windows find them).

#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QTimer;
class QWidget;

namespace mz {

struct Place {
    int x, y, width, height;
};

template <class Control> Control* placed(Control* control, const char* name, Place place) {
    control->setObjectName(QString::fromUtf8(name));
    control->setGeometry(place.x, place.y, place.width, place.height);
    return control;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, Place place);
QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, Place place);
QLineEdit* makeLineEdit(QWidget* parent, const char* name, Place place);
// Nothing is chosen at first.
QComboBox* makeComboBox(QWidget* parent, const char* name, const QStringList& items, Place place);
// Stopped; started by whoever owns it.
QTimer* makeTimer(QObject* parent, const char* name, int period);

} // namespace mz
