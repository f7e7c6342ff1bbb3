// The library loads and unloads, by file and by soname, without any call in between.
#include <dlfcn.h>
#include <gtest/gtest.h>

TEST(Loading, LoadAndUnloadWithoutAnyCall) {
  for (const char *name : {ZV_LIBRARY_FILE, ZV_LIBRARY_SONAME}) {
    void *handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_TRUE(dlsym(handle, "zv_mk_ucurve3d") && dlclose(handle) == 0) << name;
  }
}
