#include "fuzz/FuzzTargets.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

namespace {

// Readers warn about every broken input they refuse: millions of lines, of no use here.
void discardMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(discardMessages);
    return 0;
}

// One libFuzzer program per target: the build names the target (TX_FUZZ_TARGET).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const FuzzTargets::Target *target = [] {
        for (const FuzzTargets::Target &candidate : FuzzTargets::all())
            if (candidate.name == QLatin1String(TX_FUZZ_TARGET))
                return &candidate;
        std::abort();
    }();
    target->run(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
