#include "config/resources.h"

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
