#include "app/result_target.h"

bool ShouldPostResult(unsigned handle) {
  return handle != 0 && handle != 0xFFFFu && handle != 0xFFFFFFFFu;
}
