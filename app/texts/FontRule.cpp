#include "app/texts/FontRule.h"

namespace pallix::texts {

double Font0PointSize(int height) {
    if (height >= -9) return 15.0;
    if (height >= -12) return 10.9;
    if (height >= -15) return 9.0;
    if (height >= -18) return 7.5;
    if (height < -24) return 10.0;
    return 5.5;
}

}  // namespace pallix::texts
