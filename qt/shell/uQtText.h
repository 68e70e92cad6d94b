#pragma once
// The one crossing between the model's GBK text and Qt's strings.
#include <QString>

#include "platform/Types.h"

QString ToQ(const AnsiString& gbk);
AnsiString FromQ(const QString& text);
