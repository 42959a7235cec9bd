#pragma once

/// Raises a module flag (`SendSuspended`, `UpdatingControls`) for the life of the guard and puts
/// its previous value back, so that a guard inside another leaves the outer one raised.
class RaisedFlag
{
public:
    explicit RaisedFlag(bool &flag) : flag(flag), previous(flag) { flag = true; }
    ~RaisedFlag() { flag = previous; }
    RaisedFlag(const RaisedFlag &) = delete;
    RaisedFlag &operator=(const RaisedFlag &) = delete;

private:
    bool &flag;
    bool previous;
};
