// A record block described by a schema string: "name:id field:type field:type ...".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "report/install_serialize.h"

class KSerializeKFMT : public KDirectInfoc::KInstallSerialize {
public:
    using Field = std::pair<std::wstring, std::wstring>;  // (field name, type name)

    // Reads the header and the fields; true when at least one field was found.
    bool ParseSchema(const std::wstring& schema);

    // Each value is taken only for the next field of the schema, by its exact name and a
    // type the operation serves; once a value is refused, every later one is refused too.
    bool AddInt(const std::wstring& field, int value);  // "bit", "byte", "short", "int"
    bool AddString(const std::wstring& field, const std::wstring& value);
    bool AddBinary(const std::wstring& field, const uint8_t* bytes, size_t size);

    const std::wstring& name() const { return name_; }
    int schema_id() const { return schemaId_; }
    const std::vector<Field>& fields() const { return fields_; }

private:
    // The type of the next field when its name is `field` and nothing was refused yet;
    // null (and refused from now on) otherwise.
    const std::wstring* NextFieldType(const std::wstring& field);
    bool Refuse() {
        refused_ = true;
        return false;
    }
    void AddField(const std::wstring& token);

    std::wstring name_;
    int schemaId_ = 0;
    std::vector<Field> fields_;
    size_t next_ = 0;
    bool refused_ = false;  // set by the first refused value
};
