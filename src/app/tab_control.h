#pragma once

// A tab control whose pages cover the whole control, tabs included, so controls
// on a page are placed in the control's own coordinates; the tab row lies above
// the pages' top strip, which the pages leave empty.

#include <QWidget>

class QStackedWidget;
class QTabBar;

namespace mz {

class TabControl : public QWidget {
    Q_OBJECT

  public:
    TabControl(const QString& name, QWidget* parent);

    // A new empty page at the end, with its tab.
    QWidget* addPage(const QString& title);

    int count() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    QString tabText(int index) const;
    QWidget* page(int index) const;
    QTabBar* tabBar() const { return bar_; }

  signals:
    void currentChanged(int index);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTabBar* bar_;
    QStackedWidget* pages_;
};

} // namespace mz
