#include "screenshots/ScreenshotViewer.h"

#include "platform/Dialogs.h"
#include "screenshots/PictureBox.h"
#include "screenshots/RecordFlag.h"
#include "screenshots/ScreenshotList.h"
#include "screenshots/ViewerRules.h"
#include "screenshots/ViewerScrollBar.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace glim {

namespace {

// Places of the controls in the client area, in pixels (the window's design in twips / 15).
constexpr QRect kImagroot(0, 24, 617, 251);
constexpr QRect kVScroll(616, 24, 17, 249);
constexpr QRect kHScroll(0, 272, 617, 17);
constexpr QRect kList(0, 296, 633, 165);
constexpr QRect kFocusSink(472, 176, 9, 13);

// What the frame shows where no picture covers it: the product's name over a soft light on
// the dark grey, at exactly the frame's size.
QPixmap frameBackground(QSize size) {
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QRadialGradient light(QPointF(size.width() * 0.5, size.height() * 0.45), size.width() * 0.6);
    light.setColorAt(0, QColor(88, 88, 92));
    light.setColorAt(1, QColor(64, 64, 64));
    p.fillRect(pixmap.rect(), light);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 110, 118), 3));
    const QPointF centre(size.width() / 2.0, size.height() / 2.0 - 22);
    p.drawRoundedRect(QRectF(centre.x() - 34, centre.y() - 22, 68, 44), 6, 6);
    p.drawEllipse(centre, 13, 13);
    QFont font = p.font();
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(120, 120, 128));
    p.drawText(QRectF(0, centre.y() + 30, size.width(), 28), Qt::AlignCenter,
               QStringLiteral("Zivra Glimwell"));
    return pixmap;
}

QString unreadableRowText(const QString& rowText, const QString& path) {
    return QStringLiteral("Cannot show %1: its file %2 is missing or is not a readable picture. "
                          "The viewer keeps the picture it shows.")
        .arg(rowText, path);
}

} // namespace

ScreenshotViewer::ScreenshotViewer(QWidget* clientArea, ProgramFolder folder, Dialogs& dialogs,
                                   RecordFlag& recordFlag)
    : QObject(clientArea)
    , m_folder(std::move(folder))
    , m_dialogs(dialogs)
    , m_imagroot(new QLabel(clientArea))
    , m_ima(new PictureBox(m_imagroot))
    , m_hBar(new ViewerScrollBar(new QScrollBar(Qt::Horizontal, clientArea)))
    , m_vBar(new ViewerScrollBar(new QScrollBar(Qt::Vertical, clientArea)))
    , m_lstv(new ScreenshotList(clientArea))
    , m_afl(new QPushButton(QStringLiteral("Command1"), clientArea))
    , m_recordFlag(recordFlag) {
    setObjectName(QStringLiteral("screenshotViewer"));

    m_imagroot->setObjectName(QStringLiteral("imagroot"));
    m_imagroot->setGeometry(kImagroot);
    m_imagroot->setAutoFillBackground(true);
    QPalette framePalette = m_imagroot->palette();
    framePalette.setColor(QPalette::Window, QColor(64, 64, 64));
    m_imagroot->setPalette(framePalette);
    m_imagroot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_imagroot->setPixmap(frameBackground(kImagroot.size()));

    m_ima->setGeometry(0, 0, kImagroot.width(), kImagroot.height());
    connect(m_ima, &PictureBox::keyDown, this, &ScreenshotViewer::checkKeyCode);

    for (ViewerScrollBar* bar : {m_hBar, m_vBar}) {
        // A click takes the focus to the bar, which hands it on to `afl` at once.
        bar->widget()->setFocusPolicy(Qt::StrongFocus);
        bar->widget()->installEventFilter(this);
        connect(bar, &ViewerScrollBar::valueChanged, this,
                [this, bar](int value) { scrolled(bar, value); });
    }
    m_vBar->widget()->setObjectName(QStringLiteral("VScroll1"));
    m_vBar->widget()->setGeometry(kVScroll);
    m_hBar->widget()->setObjectName(QStringLiteral("HScroll1"));
    m_hBar->widget()->setGeometry(kHScroll);

    m_lstv->setGeometry(kList);
    // Four equal columns that fill the list inside its frame, with no scroll bar beneath.
    const int columnWidth = (kList.width() - 2 * m_lstv->frameWidth()) / 4;
    for (int column = 0; column < 4; ++column)
        m_lstv->setColumnWidth(column, columnWidth);
    connect(m_lstv, &ScreenshotList::rowClicked, this, &ScreenshotViewer::showSelectedRow);

    m_afl->setObjectName(QStringLiteral("afl"));
    m_afl->setGeometry(kFocusSink);
    // The focus sink keeps its place and takes the focus from the bars, but lies under the
    // frame: it is neither seen over the picture nor clicked there.
    m_afl->stackUnder(m_imagroot);
}

bool ScreenshotViewer::recordFlag() const {
    return m_recordFlag.isOn();
}

void ScreenshotViewer::setRecordFlag(bool on) {
    m_recordFlag.set(on);
}

QScrollBar* ScreenshotViewer::hScroll() const {
    return m_hBar->widget();
}

QScrollBar* ScreenshotViewer::vScroll() const {
    return m_vBar->widget();
}

void ScreenshotViewer::loadState() {
    m_hBar->setEnabled(false);
    m_vBar->setEnabled(false);
    m_vBar->setMin(0);
    m_vBar->setMax(m_ima->height() - m_vBar->length());
    m_hBar->setMin(0);
    m_hBar->setMax(m_ima->width() - m_hBar->length());
    m_ima->update();
}

void ScreenshotViewer::setUpForPicture() {
    for (ViewerScrollBar* bar : {m_hBar, m_vBar}) {
        bar->setEnabled(true);
        bar->setSteps(100, 1000);
    }
    m_vBar->setMin(0);
    m_vBar->setMax(m_ima->height() - m_vBar->length());
    m_hBar->setMin(0);
    m_hBar->setMax(m_ima->width() - m_hBar->length());
    placeAfterChange();
}

void ScreenshotViewer::placeAfterChange() {
    place(placeAfterPictureChange(
        {m_ima->size(), m_hBar->length(), m_vBar->length(), m_imagroot->size()}));
}

void ScreenshotViewer::placeChosenPicture() {
    place(glim::placeChosenPicture(
        {m_ima->size(), m_hBar->length(), m_vBar->length(), m_imagroot->size()}));
    m_hBar->setValue(0);
    m_vBar->setValue(0);
}

void ScreenshotViewer::place(const Placement& placement) {
    if (placement.disableHBar)
        m_hBar->setEnabled(false);
    if (placement.disableVBar)
        m_vBar->setEnabled(false);
    m_ima->move(placement.left.value_or(m_ima->x()), placement.top.value_or(m_ima->y()));
    if (placement.pressCentre)
        emit centrePressed();
}

void ScreenshotViewer::showSelectedRow() {
    const QString rowText = m_lstv->selectedRowText();
    if (rowText.isEmpty())
        return;
    setRecordFlag(false);
    const Picture picture = m_folder.loadWorkingFile(rowText);
    if (picture.isNull()) {
        m_dialogs.information(unreadableRowText(rowText, m_folder.workingFile(rowText)));
        return;
    }
    m_ima->setPicture(picture);
    placeChosenPicture();
    setPictureCommands(true);
    setRecordFlag(false);
}

void ScreenshotViewer::scrolled(ViewerScrollBar* bar, int value) {
    // From the first scroll on an arrow click moves the picture by 50 pixels.
    bar->setSteps(50, 1000);
    if (bar == m_hBar)
        m_ima->move(-value, m_ima->y());
    else
        m_ima->move(m_ima->x(), -value);
}

void ScreenshotViewer::checkKeyCode(int keyCode) {
    const std::optional<Paging> paging =
        glim::checkKeyCode(keyCode, m_ima->y(), m_vBar->length(), m_vBar->state().max());
    if (!paging)
        return;
    if (paging->top)
        m_ima->move(m_ima->x(), *paging->top);
    m_vBar->setValue(paging->value);
}

bool ScreenshotViewer::eventFilter(QObject* watched, QEvent* event) {
    // No scroll bar keeps the keyboard focus.
    if (event->type() == QEvent::FocusIn &&
        (watched == m_hBar->widget() || watched == m_vBar->widget()))
        m_afl->setFocus();
    return QObject::eventFilter(watched, event);
}

void ScreenshotViewer::alignLeft() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(0, m_ima->y());
}

void ScreenshotViewer::alignCenter() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(centred(m_imagroot->width(), m_ima->width()), m_ima->y());
}

void ScreenshotViewer::alignRight() {
    if (m_ima->width() <= m_imagroot->width())
        m_ima->move(m_imagroot->width() - m_ima->width(), m_ima->y());
}

} // namespace glim
