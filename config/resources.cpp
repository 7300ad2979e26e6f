#include "config/resources.h"

#include "config/offline_builder.h"

bool LoadXmlResource(HINSTANCE instance, std::string* buffer) {
    if (!buffer) return false;
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(kUiDataResourceId), L"XML");
    if (!info) return false;
    HGLOBAL resource = LoadResource(instance, info);
    const char* bytes = resource ? static_cast<const char*>(LockResource(resource)) : nullptr;
    if (!bytes) return false;
    buffer->assign(bytes, SizeofResource(instance, info));
    return !buffer->empty();
}

bool FindPayload(HINSTANCE instance, const void** data, UINT32* size) {
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(kPayloadId), kPayloadType);
    const DWORD bytes = info ? SizeofResource(instance, info) : 0;
    if (bytes == 0) return false;
    HGLOBAL resource = LoadResource(instance, info);
    const void* start = resource ? LockResource(resource) : nullptr;
    if (!start) return false;
    *data = start;
    *size = bytes;
    return true;
}
