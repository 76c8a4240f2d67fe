#include "screenshots/ScreenshotList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace glim {

namespace {

// The row icon: a small framed picture of a landscape, drawn here so that it needs no file.
QIcon recordedRowIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 48));
    p.setBrush(QColor(150, 200, 240));
    p.drawRect(1, 2, 13, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 150, 70));
    p.drawPolygon(
        QPolygon({QPoint(2, 13), QPoint(6, 7), QPoint(9, 11), QPoint(11, 9), QPoint(14, 13)}));
    p.setBrush(QColor(250, 210, 60));
    p.drawEllipse(QPoint(11, 5), 2, 2);
    return QIcon(pixmap);
}

} // namespace

ScreenshotList::ScreenshotList(QWidget* parent)
    : QTreeWidget(parent)
    , m_rowIcon(recordedRowIcon()) {
    setObjectName(QStringLiteral("lstv"));
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(4);
    setHeaderLabels({QStringLiteral("Screenshot name"), QStringLiteral("Height x Width"),
                     QStringLiteral("Date"), QStringLiteral("Time")});
    connect(this, &QTreeWidget::itemClicked, this, &ScreenshotList::rowClicked);
}

QString ScreenshotList::selectedRowText() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

void ScreenshotList::appendRow(const QStringList& texts) {
    auto* item = new QTreeWidgetItem(this, texts);
    item->setIcon(0, m_rowIcon);
    // Selectable and enabled, never editable.
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void ScreenshotList::selectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void ScreenshotList::keyPressEvent(QKeyEvent* event) {
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        emit rowClicked();
}

} // namespace glim
