#include "screenshots/ScreenshotViewer.h"

#include "screenshots/PictureBox.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>

#include <cmath>

namespace glim {

namespace {

// Places of the controls in the client area, in pixels (the window's design in twips / 15).
constexpr QRect kImagroot(0, 24, 617, 251);
constexpr QRect kVScroll(616, 24, 17, 249);
constexpr QRect kHScroll(0, 272, 617, 17);
constexpr QRect kList(0, 296, 633, 165);
constexpr QRect kFocusSink(472, 176, 9, 13);

} // namespace

ScreenshotViewer::ScreenshotViewer(QWidget* clientArea)
    : QObject(clientArea)
    , m_imagroot(new QWidget(clientArea))
    , m_ima(new PictureBox(m_imagroot))
    , m_hScroll(new QScrollBar(Qt::Horizontal, clientArea))
    , m_vScroll(new QScrollBar(Qt::Vertical, clientArea))
    , m_lstv(new QTreeWidget(clientArea))
    , m_afl(new QPushButton(QStringLiteral("Command1"), clientArea)) {
    setObjectName(QStringLiteral("screenshotViewer"));

    m_imagroot->setObjectName(QStringLiteral("imagroot"));
    m_imagroot->setGeometry(kImagroot);
    m_imagroot->setAutoFillBackground(true);
    QPalette framePalette = m_imagroot->palette();
    framePalette.setColor(QPalette::Window, QColor(64, 64, 64));
    m_imagroot->setPalette(framePalette);

    m_ima->setGeometry(0, 0, kImagroot.width(), kImagroot.height());

    m_vScroll->setObjectName(QStringLiteral("VScroll1"));
    m_vScroll->setGeometry(kVScroll);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_hScroll->setGeometry(kHScroll);

    m_lstv->setObjectName(QStringLiteral("lstv"));
    m_lstv->setGeometry(kList);
    m_lstv->setRootIsDecorated(false);
    m_lstv->setColumnCount(4);
    m_lstv->setHeaderLabels({QStringLiteral("Screenshot name"), QStringLiteral("Height x Width"),
                             QStringLiteral("Date"), QStringLiteral("Time")});
    for (int column = 0; column < 4; ++column)
        m_lstv->setColumnWidth(column, kList.width() / 4);

    m_afl->setObjectName(QStringLiteral("afl"));
    m_afl->setGeometry(kFocusSink);
}

void ScreenshotViewer::loadState() {
    m_hScroll->setEnabled(false);
    m_vScroll->setEnabled(false);
    m_vScroll->setRange(0, m_ima->height() - m_vScroll->height());
    m_hScroll->setRange(0, m_ima->width() - m_hScroll->width());
    m_ima->update();
}

void ScreenshotViewer::alignLeft() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(0, m_ima->y());
}

void ScreenshotViewer::alignCenter() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(
            static_cast<int>(std::nearbyint(m_imagroot->width() / 2.0f - m_ima->width() / 2.0f)),
            m_ima->y());
}

void ScreenshotViewer::alignRight() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(m_imagroot->width() - m_ima->width(), m_ima->y());
}

} // namespace glim
