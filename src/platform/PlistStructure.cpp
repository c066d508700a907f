#include "platform/PlistStructure.h"

#include <QHash>
#include <QList>

#include <optional>

namespace PlistStructure {
namespace {

constexpr qsizetype kTrailerSize = 32;
constexpr qsizetype kHeaderSize = 8;

// What one object of a binary list holds: the objects it refers to, and
// whether it is text (dictionary keys must be).
struct BinaryObject
{
    QList<quint64> references;
    bool isText = false;
};

// Walks the object table of a binary list ("bplist00"). Every number read is
// checked against the bytes before it is used.
class BinaryWalker
{
public:
    explicit BinaryWalker(const QByteArray &bytes)
        : mBytes(bytes)
    {}

    QString problem()
    {
        if (!readTrailer())
            return mProblem;
        mObjects.resize(qsizetype(mObjectCount));
        for (quint64 i = 0; i < mObjectCount; ++i) {
            if (!readObject(i))
                return mProblem;
        }
        // Expanded size: every reference counts its whole subtree again, as the
        // parser copies it. A list's own references bound that for honest lists.
        const quint64 budget = quint64(mBytes.size()) * 2 + 64;
        mExpanded.fill(0, qsizetype(mObjectCount));
        mHeight.fill(0, qsizetype(mObjectCount));
        mState.fill(0, qsizetype(mObjectCount));
        if (!measure(mTopObject, 0))
            return mProblem;
        if (mExpanded[qsizetype(mTopObject)] > budget)
            return QStringLiteral("shared objects expand to more than %1 nodes").arg(budget);
        return {};
    }

private:
    std::optional<quint64> bigEndian(qsizetype at, int size) const
    {
        if (size < 1 || size > 8 || at < 0 || at + size > mBytes.size())
            return std::nullopt;
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | quint8(mBytes[at + i]);
        return value;
    }

    bool fail(const QString &why)
    {
        if (mProblem.isEmpty())
            mProblem = why;
        return false;
    }

    bool readTrailer()
    {
        if (mBytes.size() < kHeaderSize + kTrailerSize || !mBytes.startsWith("bplist0"))
            return fail(QStringLiteral("not a binary property list"));
        const qsizetype trailer = mBytes.size() - kTrailerSize;
        mOffsetSize = quint8(mBytes[trailer + 6]);
        mReferenceSize = quint8(mBytes[trailer + 7]);
        const auto count = bigEndian(trailer + 8, 8);
        const auto top = bigEndian(trailer + 16, 8);
        const auto table = bigEndian(trailer + 24, 8);
        if (mOffsetSize < 1 || mOffsetSize > 8 || mReferenceSize < 1 || mReferenceSize > 8 || !count || !top || !table)
            return fail(QStringLiteral("a damaged binary property list trailer"));
        mObjectCount = *count;
        mTopObject = *top;
        mOffsetTable = *table;
        if (mObjectCount == 0 || mObjectCount > quint64(mBytes.size()) || mTopObject >= mObjectCount ||
            mOffsetTable < quint64(kHeaderSize) || mOffsetTable > quint64(trailer) ||
            (quint64(trailer) - mOffsetTable) / mOffsetSize < mObjectCount)
            return fail(QStringLiteral("a damaged binary property list trailer"));
        return true;
    }

    // The element count of a variable-length object and where its content starts.
    bool readCount(qsizetype at, quint8 info, quint64 *count, qsizetype *content)
    {
        if (info != 0xF) {
            *count = info;
            *content = at + 1;
            return true;
        }
        if (at + 1 >= mBytes.size() || (quint8(mBytes[at + 1]) >> 4) != 0x1)
            return fail(QStringLiteral("a damaged object length"));
        const int size = 1 << (quint8(mBytes[at + 1]) & 0xF);
        const auto value = bigEndian(at + 2, size);
        if (!value)
            return fail(QStringLiteral("a damaged object length"));
        *count = *value;
        *content = at + 2 + size;
        return true;
    }

    bool within(qsizetype content, quint64 length)
    {
        if (length > quint64(mBytes.size()) || content + qsizetype(length) > qsizetype(mOffsetTable))
            return fail(QStringLiteral("an object that runs past the end of the list"));
        return true;
    }

    bool readObject(quint64 index)
    {
        const auto offset = bigEndian(qsizetype(mOffsetTable + index * mOffsetSize), mOffsetSize);
        if (!offset || *offset < quint64(kHeaderSize) || *offset >= mOffsetTable)
            return fail(QStringLiteral("an object offset outside the list"));
        const qsizetype at = qsizetype(*offset);
        const quint8 marker = quint8(mBytes[at]);
        const quint8 type = marker >> 4, info = marker & 0xF;
        BinaryObject &object = mObjects[qsizetype(index)];
        quint64 count = 0;
        qsizetype content = 0;
        switch (type) {
        case 0x0:  // null, booleans, fill
            return true;
        case 0x1:  // integer
        case 0x2:  // real
            return info <= 4 ? within(at + 1, 1u << info) : fail(QStringLiteral("a number of unknown size"));
        case 0x3:  // date
            return within(at + 1, 8);
        case 0x8:  // keyed-archive reference
            return within(at + 1, info + 1u);
        case 0x4:  // data
            return readCount(at, info, &count, &content) && within(content, count);
        case 0x5:    // ASCII text
        case 0x6: {  // UTF-16 text
            const quint64 unitSize = type == 0x6 ? 2 : 1;
            if (!readCount(at, info, &count, &content) || count > quint64(mBytes.size()) ||
                !within(content, count * unitSize))
                return false;
            for (quint64 unit = 0; unit < count; ++unit) {
                bool nul = mBytes[content + qsizetype(unit * unitSize)] == 0;
                if (unitSize == 2)
                    nul = nul && mBytes[content + qsizetype(unit * 2 + 1)] == 0;
                if (nul)
                    return fail(QStringLiteral("text that holds a NUL character"));
            }
            object.isText = true;
            return true;
        }
        case 0xA:    // array
        case 0xC:    // set
        case 0xD: {  // dictionary: the keys, then the values
            if (!readCount(at, info, &count, &content))
                return false;
            const quint64 references = type == 0xD ? count * 2 : count;
            if (count > quint64(mBytes.size()) || !within(content, references * mReferenceSize))
                return false;
            object.references.reserve(qsizetype(references));
            for (quint64 i = 0; i < references; ++i) {
                const quint64 reference = *bigEndian(content + qsizetype(i * mReferenceSize), mReferenceSize);
                if (reference >= mObjectCount)
                    return fail(QStringLiteral("a reference outside the object table"));
                object.references.append(reference);
            }
            mKeyCounts.insert(index, type == 0xD ? count : 0);
            return true;
        }
        default:
            return fail(QStringLiteral("an object of unknown kind"));
        }
    }

    // Height and expanded size of an object's subtree, each object measured once.
    bool measure(quint64 index, int depth)
    {
        const qsizetype i = qsizetype(index);
        if (mState[i] == kDone)
            return true;
        if (mState[i] == kInProgress)
            return fail(QStringLiteral("a reference that leads back into itself"));
        if (depth >= kMaximumDepth)
            return fail(QStringLiteral("objects nested deeper than %1").arg(kMaximumDepth));
        mState[i] = kInProgress;
        const BinaryObject &object = mObjects[i];
        const quint64 keys = mKeyCounts.value(index);
        quint64 expanded = 1;
        int height = 0;
        for (qsizetype k = 0; k < object.references.size(); ++k) {
            const quint64 child = object.references[k];
            if (quint64(k) < keys && !mObjects[qsizetype(child)].isText)
                return fail(QStringLiteral("a dictionary key that is not text"));
            if (!measure(child, depth + 1))
                return false;
            // A shared object measured earlier may sit deeper here than where it was met first.
            if (depth + 1 + mHeight[qsizetype(child)] > kMaximumDepth)
                return fail(QStringLiteral("objects nested deeper than %1").arg(kMaximumDepth));
            expanded = qMin(expanded + mExpanded[qsizetype(child)], quint64(1) << 62);
            height = qMax(height, mHeight[qsizetype(child)]);
        }
        mExpanded[i] = expanded;
        mHeight[i] = height + 1;
        mState[i] = kDone;
        return true;
    }

    static constexpr char kInProgress = 1;
    static constexpr char kDone = 2;

    const QByteArray &mBytes;
    int mOffsetSize = 0;
    int mReferenceSize = 0;
    quint64 mObjectCount = 0;
    quint64 mTopObject = 0;
    quint64 mOffsetTable = 0;
    QList<BinaryObject> mObjects;
    QHash<quint64, quint64> mKeyCounts;
    QList<quint64> mExpanded;
    QList<int> mHeight;
    QList<char> mState;
    QString mProblem;
};

// Parts of an XML document whose text is not markup.
struct SteppedOver
{
    const char *opening;
    const char *closing;
};

const SteppedOver *stepOver(const QByteArray &opening)
{
    static const SteppedOver kinds[] = {{"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}};
    for (const SteppedOver &kind : kinds) {
        if (opening.startsWith(kind.opening))
            return &kind;
    }
    return nullptr;
}

}  // namespace

QString problemInBinary(const QByteArray &bytes) { return BinaryWalker(bytes).problem(); }

QString problemInXml(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        return QStringLiteral("text that holds a NUL character");
    // Only containers nest; a tag is a container's start unless it closes itself.
    // Comments, character data and instructions are stepped over whole, so that
    // markup-like text inside them cannot hide nesting from this count.
    int depth = 0;
    for (qsizetype at = bytes.indexOf('<'); at >= 0; at = bytes.indexOf('<', at + 1)) {
        const QByteArray opening = bytes.mid(at, 9);
        if (const auto *skipped = stepOver(opening)) {
            const qsizetype end = bytes.indexOf(skipped->closing, at + qstrlen(skipped->opening));
            if (end < 0)
                return QStringLiteral("a comment, instruction or character data left open");
            at = end;
            continue;
        }
        if (opening.startsWith("<!")) {
            // The usual document type line names a public one; declarations of its own are refused.
            const qsizetype end = bytes.indexOf('>', at);
            const QByteArray declaration = bytes.mid(at + 1, end - at - 1);
            if (!opening.startsWith("<!DOCTYPE") || end < 0 || declaration.contains('[') || declaration.contains('<'))
                return QStringLiteral("a document type with declarations of its own");
            at = end;
            continue;
        }
        const QByteArray tag = bytes.mid(at + 1, 7);
        const qsizetype end = bytes.indexOf('>', at);
        const bool selfClosing = end > 0 && bytes[end - 1] == '/';
        if ((tag.startsWith("dict") || tag.startsWith("array")) && !selfClosing) {
            if (++depth > kMaximumDepth)
                return QStringLiteral("objects nested deeper than %1").arg(kMaximumDepth);
        } else if (tag.startsWith("/dict") || tag.startsWith("/array")) {
            --depth;
        }
    }
    return {};
}

}  // namespace PlistStructure
