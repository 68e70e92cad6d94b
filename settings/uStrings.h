#pragma once
// The program's fixed Chinese texts, as GBK. The sources hold them as UTF-8; each is converted once.
#include "platform/Types.h"

namespace Texts {

// Converts a UTF-8 literal to GBK the first time it is asked for and keeps the result.
const AnsiString& Gbk(const char* utf8Literal);

}  // namespace Texts
