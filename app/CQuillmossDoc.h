// The document of the single-document template. It holds nothing: the folder
// shown, the selection and the settings live in the views, the frame and the
// registry. Nothing is ever loaded from or saved to a file.
#pragma once

class CQuillmossDoc
{
public:
    bool OnNewDocument() { return true; }
};
