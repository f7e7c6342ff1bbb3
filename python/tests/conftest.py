import gc

import pytest

import rivezi3z


@pytest.fixture(autouse=True)
def no_kernel_leaks():
    """Every test releases every kernel block it made, once its objects go."""
    gc.collect()
    before = rivezi3z.live_blocks()
    yield
    rivezi3z.fail_alloc_after(-1)
    gc.collect()
    assert rivezi3z.live_blocks() == before
