#pragma once

// Stores the value when it differs from the field; true when it did.
template <typename T>
bool StoreChanged(T& field, const T& value)
{
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}
