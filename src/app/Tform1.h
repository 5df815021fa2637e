#pragma once

#include "app/AppContext.h"

#include <QWidget>

class Tform1 : public QWidget
{
    Q_OBJECT
public:
    explicit Tform1(AppContext ctx, QWidget* parent = nullptr);

private:
    AppContext m_ctx;
};
