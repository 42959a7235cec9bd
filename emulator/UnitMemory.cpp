#include "UnitMemory.h"

namespace Emulator {

Memory FreshMemory()
{
    Memory memory{};
    for (int i = 0; i < PasswordSize; ++i)
        memory[PasswordAddress + i] = DefaultPasswordCode;
    return memory;
}

Byte ReadMemory(const Memory &memory, int address)
{
    if (address < 0 || address >= MemorySize)
        return 0;
    return memory[address];
}

void WriteMemory(Memory &memory, int address, Byte value)
{
    if (address >= 0 && address < MemorySize)
        memory[address] = value;
}

} // namespace Emulator
