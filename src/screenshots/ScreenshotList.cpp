#include "screenshots/ScreenshotList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

namespace glim {

namespace {

// The row icon: a small framed picture of a landscape, drawn here so that it needs no file.
QPixmap landscape() {
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
    return pixmap;
}

// An exported row: the same picture with a tick in the lower right corner, so that the rows
// already saved elsewhere stand out.
QIcon exportedRowIcon() {
    QPixmap pixmap = landscape();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPolygon tick({QPoint(8, 11), QPoint(10, 14), QPoint(15, 8)});
    p.drawPolyline(tick);
    p.setPen(QPen(QColor(0, 140, 40), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick);
    return QIcon(pixmap);
}

} // namespace

ScreenshotList::ScreenshotList(QWidget* parent)
    : QTreeWidget(parent)
    , m_rowIcon(landscape())
    , m_exportedIcon(exportedRowIcon()) {
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

void ScreenshotList::markSelectedRowExported() {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return;
    selected.first()->setIcon(0, m_exportedIcon);
}

int ScreenshotList::rowImage(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    if (!item)
        return 0;
    const qint64 icon = item->icon(0).cacheKey();
    return icon == m_rowIcon.cacheKey() ? 1 : icon == m_exportedIcon.cacheKey() ? 2 : 0;
}

void ScreenshotList::keyPressEvent(QKeyEvent* event) {
    const QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        emit rowClicked();
}

} // namespace glim
