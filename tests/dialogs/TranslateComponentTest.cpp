// Being written.
#include <gtest/gtest.h>
