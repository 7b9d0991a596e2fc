#include "ToolbarIcons.h"

#include "CommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

const QSize kButtonImageSize(16, 15);

QPixmap Draw(QSize size, const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(painter);
    return pixmap;
}

void Page(QPainter& p, int x, int y)
{
    const QPolygon outline({QPoint(x, y), QPoint(x + 6, y), QPoint(x + 9, y + 3), QPoint(x + 9, y + 12),
                            QPoint(x, y + 12)});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(outline);
    p.drawLine(x + 6, y, x + 6, y + 3);
    p.drawLine(x + 6, y + 3, x + 9, y + 3);
}

void NewImage(QPainter& p) { Page(p, 3, 1); }

void OpenImage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 5), QPoint(13, 5), QPoint(13, 13),
                            QPoint(1, 13)}));
    p.setBrush(QColor(255, 230, 130));
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 8), QPoint(15, 8), QPoint(13, 13)}));
}

void SaveImage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 7, 5);
}

void CutImage(QPainter& p)
{
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(4, 1, 9, 9);
    p.drawLine(11, 1, 6, 9);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void CopyImage(QPainter& p)
{
    Page(p, 1, 0);
    Page(p, 6, 2);
}

void PasteImage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(1, 2, 10, 12);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 1, 4, 2);
    Page(p, 6, 2);
}

void PrintImage(QPainter& p)
{
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(1, 6, 13, 5);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 4);
    p.setPen(Qt::green);
    p.drawPoint(12, 8);
}

void AboutImage(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 255, 200));
    p.drawEllipse(1, 0, 13, 13);
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 160));
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QIcon ToolbarIcon(int commandId)
{
    using namespace CommandId;
    switch (commandId) {
    case FileNew:
        return QIcon(Draw(kButtonImageSize, NewImage));
    case FileOpen:
        return QIcon(Draw(kButtonImageSize, OpenImage));
    case FileSave:
        return QIcon(Draw(kButtonImageSize, SaveImage));
    case EditCut:
        return QIcon(Draw(kButtonImageSize, CutImage));
    case EditCopy:
        return QIcon(Draw(kButtonImageSize, CopyImage));
    case EditPaste:
        return QIcon(Draw(kButtonImageSize, PasteImage));
    case FilePrint:
        return QIcon(Draw(kButtonImageSize, PrintImage));
    case AppAbout:
        return QIcon(Draw(kButtonImageSize, AboutImage));
    default:
        return QIcon();
    }
}

// The installed scalable icon, compiled in as a resource (ui/window/CMakeLists.txt):
// sharp at every size the desktop asks for.
QIcon ApplicationIcon() { return QIcon(QStringLiteral(":/icons/halvex.svg")); }
