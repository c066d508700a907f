#include "common/transfer/FileTransferData.h"

#include "platform/PathTemplate.h"

namespace {

// The key of each field, in the order of FileTransferData::Field.
// Views with their lengths: every field of every progress line is looked up here.
constexpr QStringView kKeys[] = {
    u"offset",   u"size",  u"tottrf_sz", u"tot_sz", u"cum_size", u"per",       u"rate_trf", u"remain_time",
    u"trf_type", u"fname", u"file_ver",  u"mpc",    u"enc_name", u"folder_id", u"mod_time",
};

}  // namespace

void FileTransferData::Data(const QString &value, const QString &key)
{
    static_assert(std::size(kKeys) == FieldCount);
    for (int field = 0; field < FieldCount; ++field) {
        if (key == kKeys[field]) {
            mFields[field] = value;
            return;
        }
    }
}

void FileTransferData::ClearData() { mFields.fill(QString()); }

QString FileTransferData::description() const
{
    return PathTemplate::fillTemplate(QStringLiteral("mModTime %@ \nmEncFile %@ \nmMPCName %@ \nmFolderID %@"),
                                      {mod_time(), enc_name(), mpc(), folder_id()});
}
