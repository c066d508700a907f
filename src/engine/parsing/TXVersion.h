#pragma once

#include "engine/parsing/VersionFields.h"

// The version the user chose in the version list, handed to the version
// restore: its texts start empty rather than none.
class TXVersion : public VersionFields
{
public:
    TXVersion() { mFileName = mLMD = mSize = mVersion = QStringLiteral(""); }
};
