grfx/a.png
grfx/a.png
grfx/sub dir/b.png
grfx/sub dir/b.png
