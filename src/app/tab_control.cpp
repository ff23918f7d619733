#include "app/tab_control.h"

#include <QResizeEvent>
#include <QStackedWidget>
#include <QTabBar>

namespace mz {

TabControl::TabControl(const QString& name, QWidget* parent)
    : QWidget(parent), bar_(new QTabBar(this)), pages_(new QStackedWidget(this)) {
    setObjectName(name);
    bar_->setDrawBase(false);
    bar_->setExpanding(false);
    connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
    });
}

QWidget* TabControl::addPage(const QString& title) {
    auto* page = new QWidget;
    pages_->addWidget(page);
    bar_->addTab(title);
    bar_->resize(bar_->sizeHint());
    bar_->raise();
    return page;
}

int TabControl::count() const {
    return bar_->count();
}

int TabControl::currentIndex() const {
    return bar_->currentIndex();
}

void TabControl::setCurrentIndex(int index) {
    bar_->setCurrentIndex(index);
}

QString TabControl::tabText(int index) const {
    return bar_->tabText(index);
}

QWidget* TabControl::page(int index) const {
    return pages_->widget(index);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    pages_->setGeometry(0, 0, event->size().width(), event->size().height());
    bar_->raise();
    QWidget::resizeEvent(event);
}

} // namespace mz
