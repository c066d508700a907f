#pragma once

#include <QString>

// A record that one engine output line fills. The parser first clears the
// record, then hands it each value of the line under its key.
class DataHandler
{
public:
    virtual ~DataHandler() = default;

    // Stores the value in the field that the key names; an unknown key is ignored.
    // The key may point into the parsed line: it is valid only during the call.
    virtual void Data(const QString &value, const QString &key) = 0;
    // Sets every field to none.
    virtual void ClearData() = 0;
};
