#pragma once

#include <array>
#include <cstdint>

#include "model/ValueTables.h"

namespace ModFun {

using Image = std::array<std::uint8_t, ValueTables::ImageSize>;

/// Brings the image and the unit to `target` by sending only the blocks that differ, each with
/// the frame an edit of that block sends, in a fixed order: link off, equaliser type, bands,
/// filters, delays, gates, limiters, mutes, link on. While the unit links the channels it
/// applies a block to both, so one frame serves a block pair; a link switched on copies channel
/// A onto B at the unit, so B's blocks are not sent. The recovery rule follows every frame:
/// when it answers other than link up, sending stops, the block that failed keeps its old bytes
/// and the answer is false; the image then holds what reached the unit.
bool ApplyImage(const Image &target);

} // namespace ModFun
