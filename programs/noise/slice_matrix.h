// The turn that both noise programs apply to their sampling plane: by 0.34521 radians about the
// oblique axis (0.16, 0.67, 0.43). The entries have the signs of the transpose of the textbook
// rotation matrix, so applied to a column vector the matrix turns it the other way; the programs'
// pictures depend on exactly these signs.
#pragma once

#include <lumivex/numeric.h>

#include <cmath>

namespace noise {

struct SliceMatrix {
  double m11, m12, m13;
  double m21, m22, m23;
  double m31, m32, m33;
};

inline SliceMatrix BuildSliceMatrix() {
  const double ax = 0.16, ay = 0.67, az = 0.43;
  const double theta = 0.34521;
  const double length = static_cast<double>(std::sqrt(static_cast<Extended>(ax) * ax +
                                                      static_cast<Extended>(ay) * ay +
                                                      static_cast<Extended>(az) * az));
  const double ux = static_cast<double>(static_cast<Extended>(ax) / length);
  const double uy = static_cast<double>(static_cast<Extended>(ay) / length);
  const double uz = static_cast<double>(static_cast<Extended>(az) / length);
  const double c = static_cast<double>(std::cos(static_cast<Extended>(theta)));
  const double s = static_cast<double>(std::sin(static_cast<Extended>(theta)));
  // Each entry is (1 - c) * (product of two axis components) plus or minus a term; the product
  // in brackets is formed first.
  const auto entry = [&](double a, double b, Extended term) {
    return static_cast<double>((1 - static_cast<Extended>(c)) * (static_cast<Extended>(a) * b) +
                               term);
  };
  const Extended sx = static_cast<Extended>(s) * ux;
  const Extended sy = static_cast<Extended>(s) * uy;
  const Extended sz = static_cast<Extended>(s) * uz;
  return {entry(ux, ux, c),   entry(ux, uy, sz),  entry(ux, uz, -sy),
          entry(uy, ux, -sz), entry(uy, uy, c),   entry(uy, uz, sx),
          entry(uz, ux, sy),  entry(uz, uy, -sx), entry(uz, uz, c)};
}

// A row of samples across the turned plane: the row starts at matrix * (0, v, w), and each step
// along it adds the matrix's first column times the sample spacing. Every sum is stored as a
// double, so a row walks exactly as the programs always walked it.
class SliceRow {
 public:
  SliceRow(const SliceMatrix& m, double v, double w, double spacing)
      : x_(Start(m.m12, m.m13, v, w)),
        y_(Start(m.m22, m.m23, v, w)),
        z_(Start(m.m32, m.m33, v, w)),
        dx_(static_cast<double>(static_cast<Extended>(m.m11) * spacing)),
        dy_(static_cast<double>(static_cast<Extended>(m.m21) * spacing)),
        dz_(static_cast<double>(static_cast<Extended>(m.m31) * spacing)) {}

  double x() const { return x_; }
  double y() const { return y_; }
  double z() const { return z_; }

  void Step() {
    x_ = static_cast<double>(static_cast<Extended>(x_) + dx_);
    y_ = static_cast<double>(static_cast<Extended>(y_) + dy_);
    z_ = static_cast<double>(static_cast<Extended>(z_) + dz_);
  }

 private:
  static double Start(double a, double b, double v, double w) {
    return static_cast<double>(static_cast<Extended>(a) * v + static_cast<Extended>(b) * w);
  }

  double x_, y_, z_;
  double dx_, dy_, dz_;
};

}  // namespace noise
