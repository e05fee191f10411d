#pragma once
// Which vector instructions the kernels use: SSE2, which every processor the game runs on has,
// or AVX2 where the processor and the system support it.
namespace qz::scale {

enum class VectorPath { kSse2, kAvx2 };

bool MachineRuns(VectorPath path);

// The widest path this machine runs, found once.
VectorPath FastestVectorPath();

}  // namespace qz::scale
