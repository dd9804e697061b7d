// The solver's fixed neighbour order (up, left, down, right) and, for each
// neighbour, the order in which its other neighbours are looked at.
#pragma once

namespace numbloc {

constexpr int kUp = 0, kLeft = 1, kDown = 2, kRight = 3;
constexpr int kDx[4] = {0, -1, 0, 1};
constexpr int kDy[4] = {-1, 0, 1, 0};

// Other neighbours of the neighbour in direction d: up -> left, up, right;
// left -> up, left, down; down -> left, down, right; right -> up, right, down.
constexpr int kOtherDx[4][3] = {{-1, 0, 1}, {0, -1, 0}, {-1, 0, 1}, {0, 1, 0}};
constexpr int kOtherDy[4][3] = {{0, -1, 0}, {-1, 0, 1}, {0, 1, 0}, {-1, 0, 1}};

}  // namespace numbloc
