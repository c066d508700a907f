#include "common/categories/Extention.h"

#include "common/categories/BoolValue.h"
#include "common/context/ProgramContext.h"

namespace Extention {
namespace {

std::atomic<quint64> &sizeTotal() { return ProgramContext::current().sizeTotal(); }

}  // namespace

void filterUnselectedEntries(QVariantMap &dictionary)
{
    dictionary.removeIf([](QVariantMap::iterator entry) { return !BoolValue::variantBoolValue(entry.value()); });
}

void setSizeObject(QVariantMap &dictionary, quint64 size, const QString &key)
{
    if (dictionary.contains(key))
        return;
    dictionary.insert(key, size);
    sizeTotal().fetch_add(size);
}

void setTotalSizeValue(quint64 total) { sizeTotal().store(total); }

quint64 totalSizeValue() { return sizeTotal().load(); }

}  // namespace Extention
