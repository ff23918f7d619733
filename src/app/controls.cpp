#include "app/controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace mz {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, Place place) {
    return placed(new QPushButton(QString::fromUtf8(caption), parent), name, place);
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* caption, Place place) {
    return placed(new QLabel(QString::fromUtf8(caption), parent), name, place);
}

QLineEdit* makeLineEdit(QWidget* parent, const char* name, Place place) {
    return placed(new QLineEdit(parent), name, place);
}

QComboBox* makeComboBox(QWidget* parent, const char* name, const QStringList& items, Place place) {
    auto* box = placed(new QComboBox(parent), name, place);
    box->addItems(items);
    box->setCurrentIndex(-1);
    return box;
}

QTimer* makeTimer(QObject* parent, const char* name, int period) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromUtf8(name));
    timer->setInterval(period);
    return timer;
}

} // namespace mz
