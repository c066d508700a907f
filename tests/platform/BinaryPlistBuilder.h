#pragma once

#include <QByteArray>
#include <QList>

#include <initializer_list>

// Builds binary property lists object by object, for inputs no writer would
// make: shared subtrees, loops, deep nesting, NUL inside text. One-byte
// references and two-byte offsets; object 0 is the top.
class BinaryPlistBuilder
{
public:
    // Each returns the new object's number.
    int array(std::initializer_list<int> members) { return container(0xA0, members); }
    int dictionary(std::initializer_list<int> keysThenValues) { return container(0xD0, keysThenValues, 2); }
    int ascii(const QByteArray &text) { return add(QByteArray(1, char(0x50 | text.size())) + text); }
    int utf16(const QList<char16_t> &units)
    {
        QByteArray object(1, char(0x60 | units.size()));
        for (char16_t unit : units)
            object.append(char(unit >> 8)).append(char(unit & 0xFF));
        return add(object);
    }
    // An array whose members are filled in later (for loops and chains).
    int placeholder() { return add(QByteArray()); }
    void setArray(int object, const QList<int> &members)
    {
        QByteArray bytes(1, char(0xA0 | members.size()));
        for (int member : members)
            appendReference(bytes, member);
        mObjects[object] = bytes;
    }

    QByteArray bytes() const
    {
        QByteArray out("bplist00");
        QList<int> offsets;
        for (const QByteArray &object : mObjects) {
            offsets.append(int(out.size()));
            out.append(object);
        }
        const int table = int(out.size());
        for (int offset : offsets)
            out.append(char(offset >> 8)).append(char(offset & 0xFF));
        QByteArray trailer(32, '\0');
        trailer[6] = 2;  // offset size
        trailer[7] = 2;  // reference size
        trailer[14] = char(mObjects.size() >> 8);
        trailer[15] = char(mObjects.size() & 0xFF);
        trailer[30] = char(table >> 8);
        trailer[31] = char(table & 0xFF);
        return out + trailer;
    }

private:
    int container(int marker, std::initializer_list<int> members, int per = 1)
    {
        QByteArray object(1, char(marker | int(members.size() / per)));
        for (int member : members)
            appendReference(object, member);
        return add(object);
    }
    static void appendReference(QByteArray &bytes, int object)
    {
        bytes.append(char(object >> 8)).append(char(object & 0xFF));
    }
    int add(const QByteArray &object)
    {
        mObjects.append(object);
        return int(mObjects.size() - 1);
    }

    QList<QByteArray> mObjects;
};
