#pragma once

#include <QString>
#include <QWidget>

// A picture drawn from its vector file at the size of the control, so it
// stays sharp when the scaling component enlarges the window. The file is a
// property, so a form can name it:
//   <property name="file" stdset="0"><string>:/images/banner.svg</string></property>
class SvgPicture : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString file READ file WRITE setFile)
public:
    explicit SvgPicture(QWidget* parent = nullptr);

    QString file() const { return m_file; }
    void setFile(const QString& file);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_file;
};
