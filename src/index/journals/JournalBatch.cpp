#include "index/journals/JournalBatch.h"

#include "index/TXDatabaseWrapper.h"

#include <QByteArray>

#include <algorithm>

namespace {

// The journal's key orders paths as their UTF-8 bytes with ASCII letters
// folded to one case; a byte comparison of these keys gives the same order.
QByteArray orderKey(const QString &path)
{
    QByteArray key = path.toUtf8();
    for (char &byte : key) {
        if (byte >= 'A' && byte <= 'Z')
            byte = char(byte - 'A' + 'a');
    }
    return key;
}

}  // namespace

void JournalBatch::write(TXDatabaseWrapper &journal, std::vector<Row> rows,
                         const std::function<void(const QString &)> &onFailure)
{
    struct Keyed
    {
        QByteArray key;
        size_t row;
    };
    std::vector<Keyed> order;
    order.reserve(rows.size());
    for (size_t row = 0; row < rows.size(); ++row)
        order.push_back({orderKey(rows[row].value(0).toString()), row});
    // Of rows with one key the first handed over is written; the library refuses the others.
    std::stable_sort(order.begin(), order.end(), [](const Keyed &a, const Keyed &b) { return a.key < b.key; });

    for (const Keyed &keyed : order) {
        const Row &row = rows[keyed.row];
        QString error;
        const bool written =
            row.size() == 1
                ? journal.deleteRecord(row.first().toString(), false, TXDatabaseWrapper::kJournalMode, &error)
                : journal.insertRecord(row, false, TXDatabaseWrapper::kJournalMode, &error);
        if (!written)
            onFailure(error);
    }
}
