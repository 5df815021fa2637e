#include "windows/SvgPicture.h"

#include <QPainter>
#include <QSvgRenderer>

SvgPicture::SvgPicture(QWidget* parent) : QWidget(parent) {}

void SvgPicture::setFile(const QString& file)
{
    m_file = file;
    update();
}

void SvgPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QSvgRenderer(m_file).render(&p, QRectF(rect()));
}
