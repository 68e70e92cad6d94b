#pragma once
// Root of the model objects that have a one-line text form.
#include "platform/Types.h"

class TBaseObj {
public:
    virtual ~TBaseObj() = default;
    virtual AnsiString SaveToStr() = 0;
    virtual bool LoadFromStr(const AnsiString& text) = 0;
    // Reserved hook; both model classes leave it empty.
    virtual void Refresh() = 0;
};
