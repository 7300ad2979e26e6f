#include "ui/lui_obj.h"

#include <cwchar>

#include "ui/action_map.h"

LUIObj::LUIObj() {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"OBJ_%p", static_cast<void*>(this));
    name = text;
}

LUIObj::~LUIObj() { UnbindSource(this); }

void LUIObj::OnAction(const ActionRecord&) {}
