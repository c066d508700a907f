#pragma once

#include "common/transfer/DataHandler.h"

#include <QString>

#include <array>

// One progress line of a backup, restore, version restore or index rebuild,
// as the engine writes it: every field is unconverted text, null while the
// line did not carry it. Each field's name is also the key that fills it.
class FileTransferData : public DataHandler
{
public:
    void Data(const QString &value, const QString &key) override;
    void ClearData() override;

    // For traces: the fields that name the file on the drive.
    QString description() const;

    QString offset() const { return mFields[Offset]; }
    QString size() const { return mFields[Size]; }
    QString tottrf_sz() const { return mFields[TotalTransferred]; }
    QString tot_sz() const { return mFields[TotalSize]; }
    QString cum_size() const { return mFields[CumulativeSize]; }
    QString per() const { return mFields[Percentage]; }
    QString rate_trf() const { return mFields[Rate]; }
    QString remain_time() const { return mFields[RemainingTime]; }
    QString trf_type() const { return mFields[TransferType]; }  // "FULL", "INCREMENTAL", "FILE IN SYNC"
    QString fname() const { return mFields[FileName]; }
    QString file_ver() const { return mFields[FileVersion]; }
    QString mpc() const { return mFields[ComputerName]; }
    QString enc_name() const { return mFields[EncodedName]; }
    QString folder_id() const { return mFields[FolderId]; }
    QString mod_time() const { return mFields[ModificationTime]; }

    void setOffset(const QString &value) { mFields[Offset] = value; }
    void setSize(const QString &value) { mFields[Size] = value; }
    void setTottrf_sz(const QString &value) { mFields[TotalTransferred] = value; }
    void setTot_sz(const QString &value) { mFields[TotalSize] = value; }
    void setCum_size(const QString &value) { mFields[CumulativeSize] = value; }
    void setPer(const QString &value) { mFields[Percentage] = value; }
    void setRate_trf(const QString &value) { mFields[Rate] = value; }
    void setRemain_time(const QString &value) { mFields[RemainingTime] = value; }
    void setTrf_type(const QString &value) { mFields[TransferType] = value; }
    void setFname(const QString &value) { mFields[FileName] = value; }
    void setFile_ver(const QString &value) { mFields[FileVersion] = value; }
    void setMpc(const QString &value) { mFields[ComputerName] = value; }
    void setEnc_name(const QString &value) { mFields[EncodedName] = value; }
    void setFolder_id(const QString &value) { mFields[FolderId] = value; }
    void setMod_time(const QString &value) { mFields[ModificationTime] = value; }

private:
    // In the order of the keys in FileTransferData.cpp.
    enum Field
    {
        Offset,
        Size,
        TotalTransferred,
        TotalSize,
        CumulativeSize,
        Percentage,
        Rate,
        RemainingTime,
        TransferType,
        FileName,
        FileVersion,
        ComputerName,
        EncodedName,
        FolderId,
        ModificationTime,
        FieldCount
    };

    std::array<QString, FieldCount> mFields;
};
