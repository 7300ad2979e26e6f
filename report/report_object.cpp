#include "report/report_object.h"

#include <vector>

#include "report/curl_write.h"
#include "report/post_packet.h"
#include "report/public_block.h"
#include "report/report_packet.h"

namespace {

constexpr int kSendAttempts = 2;

}  // namespace

KSimpleDirectInfoc::KSimpleDirectInfoc(const KSimpleDirectInfoc& other)
    : record(other.record ? std::make_unique<KSerializeKFMT>(*other.record) : nullptr),
      type(other.type),
      publicText2(other.publicText2),
      publicText1(other.publicText1),
      publicInt1(other.publicInt1),
      publicInt2(other.publicInt2),
      publicInt3(other.publicInt3) {}

KSimpleDirectInfoc& KSimpleDirectInfoc::operator=(const KSimpleDirectInfoc& other) {
    if (this != &other) {
        record = other.record ? std::make_unique<KSerializeKFMT>(*other.record) : nullptr;
        type = other.type;
        publicText2 = other.publicText2;
        publicText1 = other.publicText1;
        publicInt1 = other.publicInt1;
        publicInt2 = other.publicInt2;
        publicInt3 = other.publicInt3;
    }
    return *this;
}

bool KSimpleDirectInfoc::Send(const std::wstring& url) {
    KEvent event;
    KDirectInfoc::KPublicBlock publicBlock;
    KDirectInfoc::WritePublic(&publicBlock, type, publicText1, publicText2, publicInt1,
                              publicInt2, publicInt3);
    std::vector<const KDirectInfoc::KInstallSerialize*> blocks = {&publicBlock};
    const std::unique_ptr<KSerializeKFMT> taken = std::move(record);
    if (taken) {
        taken->Finish();
        blocks.push_back(taken.get());
    }
    for (int attempt = 0; attempt < kSendAttempts; ++attempt) {
        if (PostPacket(url, BuildPacket(type, blocks), &event)) return true;
    }
    return false;
}

bool kReportObject::SetPublic(const std::wstring& text1, const std::wstring& text2, int number1,
                              int number2, int number3) {
    publicText1 = text1;
    publicText2 = text2;
    publicInt1 = number1;
    publicInt2 = number2;
    publicInt3 = number3;
    return true;
}

bool kReportObject::SetSchema(const std::wstring& schema) {
    record = std::make_unique<KSerializeKFMT>();
    return record->ParseSchema(schema);
}

bool kReportObject::AddString(const std::wstring& field, const std::wstring& value) {
    if (record) record->AddString(field, value);
    return true;
}

bool kReportObject::AddBinary(const std::wstring& field, const uint8_t* bytes, size_t size) {
    if (record) record->AddBinary(field, bytes, size);
    return true;
}

bool kReportObject::AddInt(const std::wstring& field, int value) {
    if (record) record->AddInt(field, value);
    return true;
}
