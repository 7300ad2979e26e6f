// A report as its callers fill it: the public values and an optional schema record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "report/serialize_kfmt.h"

class IReportObject {
public:
    virtual bool SetPublic(const std::wstring& text1, const std::wstring& text2, int number1,
                           int number2, int number3) = 0;
    // Attaches a new record described by `schema`; true when the schema has fields.
    virtual bool SetSchema(const std::wstring& schema) = 0;
    // The Add operations return true whether or not the record took the value.
    virtual bool AddString(const std::wstring& field, const std::wstring& value) = 0;
    virtual bool AddBinary(const std::wstring& field, const uint8_t* bytes, size_t size) = 0;
    virtual bool AddInt(const std::wstring& field, int value) = 0;
    virtual ~IReportObject() = default;
};

class KSimpleDirectInfoc {
public:
    explicit KSimpleDirectInfoc(int type) : type(type) {}
    // A copy carries its own copy of the record, so each copy can be sent and destroyed
    // on its own.
    KSimpleDirectInfoc(const KSimpleDirectInfoc& other);
    KSimpleDirectInfoc& operator=(const KSimpleDirectInfoc& other);
    virtual ~KSimpleDirectInfoc() = default;

    // Posts the public block and the record (which the send takes over) to `url`, trying
    // twice; true when the server accepted the report.
    bool Send(const std::wstring& url);

    std::unique_ptr<KSerializeKFMT> record;
    int type;
    std::wstring publicText2;
    std::wstring publicText1;
    int publicInt1 = 0, publicInt2 = 0, publicInt3 = 0;
};

class kReportObject : public IReportObject, public KSimpleDirectInfoc {
public:
    explicit kReportObject(int type) : KSimpleDirectInfoc(type) {}

    bool SetPublic(const std::wstring& text1, const std::wstring& text2, int number1,
                   int number2, int number3) override;
    bool SetSchema(const std::wstring& schema) override;
    bool AddString(const std::wstring& field, const std::wstring& value) override;
    bool AddBinary(const std::wstring& field, const uint8_t* bytes, size_t size) override;
    bool AddInt(const std::wstring& field, int value) override;
};
