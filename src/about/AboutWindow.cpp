#include "about/AboutWindow.h"

#include "about/RaisedEdge.h"
#include "platform/DialogFont.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace glim {

namespace {

// The window and its controls in pixels.
constexpr QSize kWindowSize(512, 279);
constexpr int kCornerEllipse = 40; // corners of radius 20
constexpr QRect kTitleStrip(0, 0, 513, 23);
constexpr QRect kTitleText(0, 5, 508, 13);
constexpr QRect kPicture(-1, 26, 342, 201);
constexpr QRect kProductFrame(352, 27, 153, 73);
constexpr QRect kTestersFrame(352, 107, 153, 121);
constexpr QRect kUpdateButton(288, 240, 97, 25);
constexpr QRect kExitButton(384, 240, 97, 25);
// The box of four lines round the buttons: 280 to 488 across, 232 to 272 down.
constexpr QRect kButtonBox(QPoint(280, 232), QPoint(488, 272));

const QColor kBackground(192, 192, 192);
const QColor kFrameBackground(64, 64, 64);
const QColor kFrameText(224, 224, 224);

const char* const kTesters[] = {"Ilka Morven", "Joss Tandry", "Pim Alsgaard", "Reto Vanmeer",
                                "Sanne Olvik"};

void setColours(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, text);
    widget->setPalette(palette);
}

QLabel* label(QWidget* parent, const QString& text, const QColor& colour, bool bold = false) {
    auto* result = new QLabel(text, parent);
    if (bold)
        result->setFont(dialogFont(true));
    QPalette palette = result->palette();
    palette.setColor(QPalette::WindowText, colour);
    result->setPalette(palette);
    return result;
}

// A frame with its lines of text one under the other.
QGroupBox* frame(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setAutoFillBackground(true);
    setColours(box, kFrameBackground, kFrameText);
    new QVBoxLayout(box);
    return box;
}

void addLine(QGroupBox* frame, QLabel* line) {
    frame->layout()->addWidget(line);
}

// The picture of the window: a lens beside the product's name, on a sky of blue to cyan.
QPixmap aboutPicture(QSize size) {
    QPixmap picture(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, Qt::darkBlue);
    sky.setColorAt(1, Qt::darkCyan);
    p.fillRect(picture.rect(), sky);
    const QRectF left(0, 0, size.height(), size.height());
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(left.center(), size.height() / 4, size.height() / 4);
    QFont name = dialogFont(true);
    name.setPointSize(20);
    p.setFont(name);
    p.drawText(picture.rect().adjusted(size.height(), 0, 0, 0), Qt::AlignVCenter | Qt::TextWordWrap,
               QStringLiteral("Zivra Glimwell"));
    return picture;
}

} // namespace

AboutWindow::AboutWindow(UpdateCheck updateCheck, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_updateCheck(std::move(updateCheck)) {
    setObjectName(QStringLiteral("abo"));
    setWindowTitle(QStringLiteral("About Zivra Glimwell..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWindowSize);
    setFont(dialogFont());
    buildControls();

    // The shape, then the raised edge just inside it, drawn once into the window's own picture.
    setMask(roundedRectRegion(size(), kCornerEllipse));
    m_surface = QImage(size(), QImage::Format_RGB32);
    m_surface.fill(kBackground);
    QPainter painter(&m_surface);
    drawRaisedEdge(painter, 0, 0, width() - 2, height() - 2, kCornerEllipse / 2);
    painter.end();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
}

void AboutWindow::buildControls() {
    auto* strip = new QLabel(this);
    strip->setGeometry(kTitleStrip);
    strip->setAutoFillBackground(true);
    // The colour of an active title bar, as the desktop's palette names it.
    setColours(strip, palette().color(QPalette::Active, QPalette::Highlight), Qt::white);
    QLabel* title = label(this, QStringLiteral("About Zivra Glimwell..."), Qt::white, true);
    title->setGeometry(kTitleText);
    title->setAlignment(Qt::AlignCenter);
    for (QLabel* part : {strip, title}) {
        part->setObjectName(QStringLiteral("lblTitle"));
        part->installEventFilter(this);
    }

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(kPicture);
    picture->setPixmap(aboutPicture(kPicture.size()));

    QGroupBox* product = frame(this, "Frame1", QStringLiteral("Zivra Glimwell:"), kProductFrame);
    addLine(product, label(product, QStringLiteral("Written by Teodor Brask"), Qt::white));
    addLine(product, label(product, QStringLiteral("-- Version: 1.0.0"), Qt::red, true));
    QGroupBox* testers = frame(this, "Frame2", QStringLiteral("Beta Testers:"), kTestersFrame);
    for (const char* name : kTesters)
        addLine(testers, label(testers, QString::fromLatin1(name), Qt::white));

    auto* update = new QPushButton(QStringLiteral("Check for update"), this);
    update->setObjectName(QStringLiteral("Command2"));
    update->setGeometry(kUpdateButton);
    connect(update, &QPushButton::clicked, this, &AboutWindow::checkForUpdate);
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("Command1"));
    exit->setGeometry(kExitButton);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    const QRect box = kButtonBox;
    const QRect lines[] = {{box.topLeft(), QSize(box.width(), 1)},
                           {box.bottomLeft(), QSize(box.width(), 1)},
                           {box.topLeft(), QSize(1, box.height())},
                           {box.topRight(), QSize(1, box.height())}};
    for (int i = 0; i < 4; ++i) {
        auto* line = new QWidget(this);
        line->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        line->setGeometry(lines[i]);
        line->setAutoFillBackground(true);
        setColours(line, Qt::black, Qt::black);
    }
}

void AboutWindow::checkForUpdate() {
    // A copy runs the check, so that nothing of this window is needed once it has begun.
    UpdateCheck check = m_updateCheck;
    check.run();
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_surface);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    // Only the title strip and its text are watched. A press of any button (the second of a
    // double click too) takes hold of the window; the moves that follow, which arrive only while
    // a button is down, carry it along.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        m_grabOffset = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
    else if (type == QEvent::MouseMove)
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_grabOffset);
    return QWidget::eventFilter(watched, event);
}

} // namespace glim
