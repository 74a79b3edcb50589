// libFuzzer target: the profile reader.
#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::use_pack(ZORBEL_DATA_FOLDER);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::feed_profile(data, size);
    return 0;
}
