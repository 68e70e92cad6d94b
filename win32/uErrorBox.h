#pragma once
// The Windows program's error box: every error the core's handler reports (ShowErrorMessage) is shown
// with MessageBoxA, caption "Chimewick", and noted for the end-to-end tests.
void InstallErrorBox();
