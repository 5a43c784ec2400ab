#include "records/dialogs/tab_control.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>

namespace zonky {

TabControl::TabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
}

void TabControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tabs_->setGeometry(0, 0, width(), tabs_->sizeHint().height());
}

void TabControl::paintEvent(QPaintEvent*) {
    // The panel frame is drawn the way the style draws a tab widget's page frame.
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = tabs_->shape();
    frame.tabBarSize = tabs_->sizeHint();
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, tabs_->sizeHint().height() - overlap, 0, 0);
    frame.selectedTabRect = tabs_->tabRect(tabs_->currentIndex());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

}  // namespace zonky
