#pragma once
// Where the wizard's skin comes from: the ZIP archive in the module's "ZKZIP_RES"/113 resource.

// Makes the module resource the toolkit's skin source. Call after the resource instance is set.
void LoadSkinSource();
