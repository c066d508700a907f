#include "common/transfer/FileTransferData.h"

#include "platform/PathTemplate.h"

namespace {

// The key of each field, in the order of FileTransferData::Field.
const char *const kKeys[] = {
    "offset", "size",  "tottrf_sz", "tot_sz", "cum_size", "per",      "rate_trf",  "remain_time",
    "trf_type", "fname", "file_ver", "mpc",   "enc_name", "folder_id", "mod_time",
};

}  // namespace

void FileTransferData::Data(const QString &value, const QString &key)
{
    static_assert(std::size(kKeys) == FieldCount);
    for (int field = 0; field < FieldCount; ++field) {
        if (key == QLatin1String(kKeys[field])) {
            mFields[field] = value;
            return;
        }
    }
}

void FileTransferData::ClearData()
{
    mFields.fill(QString());
}

QString FileTransferData::description() const
{
    return PathTemplate::fillTemplate(QStringLiteral("mModTime %@ \nmEncFile %@ \nmMPCName %@ \nmFolderID %@"),
                        {mod_time(), enc_name(), mpc(), folder_id()});
}
