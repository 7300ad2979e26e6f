#include "report/serialize_kfmt.h"

#include <cwchar>

bool KSerializeKFMT::ParseSchema(const std::wstring& schema) {
    name_.clear();
    fields_.clear();
    set_id(0);
    schemaId_ = 0;
    next_ = 0;
    refused_ = false;
    if (schema.empty()) return false;
    bool headerRead = false;
    size_t pos = 0;
    for (;;) {
        const size_t space = schema.find(L' ', pos);
        if (space == std::wstring::npos) {
            if (headerRead) AddField(schema.substr(pos));
            break;
        }
        const std::wstring token = schema.substr(pos, space - pos);
        if (!headerRead) {
            const size_t colon = token.find(L':');
            if (colon == std::wstring::npos) break;
            name_ = token.substr(0, colon);
            schemaId_ = static_cast<int>(std::wcstol(token.c_str() + colon + 1, nullptr, 10));
            set_id(static_cast<uint16_t>(schemaId_ & 0xFFFF));
            headerRead = true;
        } else {
            AddField(token);
        }
        pos = space + 1;
        if (pos > schema.size()) break;
    }
    return !fields_.empty();
}

void KSerializeKFMT::AddField(const std::wstring& token) {
    const size_t colon = token.find(L':');
    if (colon == std::wstring::npos) {
        fields_.emplace_back();  // matches no value
        return;
    }
    fields_.emplace_back(token.substr(0, colon), token.substr(colon + 1));
}

const std::wstring* KSerializeKFMT::NextFieldType(const std::wstring& field) {
    if (refused_ || next_ >= fields_.size() || fields_[next_].first != field) {
        Refuse();
        return nullptr;
    }
    return &fields_[next_].second;
}

bool KSerializeKFMT::AddInt(const std::wstring& field, int value) {
    const std::wstring* type = NextFieldType(field);
    if (!type) return false;
    if (*type == L"bit") {
        WriteBit(value);
    } else if (*type == L"byte") {
        WriteByte(value);
    } else if (*type == L"short") {
        WriteShort(value);
    } else if (*type == L"int") {
        WriteInt(value);
    } else {
        return Refuse();
    }
    ++next_;
    return true;
}

bool KSerializeKFMT::AddString(const std::wstring& field, const std::wstring& value) {
    const std::wstring* type = NextFieldType(field);
    if (!type || *type != L"string") return Refuse();
    WriteString(value);
    ++next_;
    return true;
}

bool KSerializeKFMT::AddBinary(const std::wstring& field, const uint8_t* bytes, size_t size) {
    const std::wstring* type = NextFieldType(field);
    if (!type || *type != L"binary") return Refuse();
    WriteBinary(bytes, size);
    ++next_;
    return true;
}
