// The root of every toolkit object: an identity and the ability to receive actions.
#pragma once

#include <string>

struct ActionRecord;

class LUIObj {
public:
    LUIObj();
    // Removes every action binding in which this object is the source.
    virtual ~LUIObj();
    LUIObj(const LUIObj&) = delete;
    LUIObj& operator=(const LUIObj&) = delete;

    // Called when an action this object was bound to as handler fires.
    virtual void OnAction(const ActionRecord& action);

    std::wstring name;  // "OBJ_" and the object's address
};
