#include "app/Tform1.h"

Tform1::Tform1(AppContext ctx, QWidget* parent) : QWidget(parent), m_ctx(std::move(ctx))
{
    setObjectName(QStringLiteral("form1"));
}
