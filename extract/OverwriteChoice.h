#pragma once
// The overwrite question's answers. Yes, No and Cancel ask again at the next
// conflict; Yes to All, No to All and Auto Rename decide every later one.

enum TOverwriteChoice : int {
    ocYes = 0,
    ocNo = 1,
    ocYesAll = 2,
    ocNoAll = 3,
    ocRename = 4,
    ocCancel = 5,
};
