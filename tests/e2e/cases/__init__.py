"""Every module of this folder holds cases; importing the package registers them all."""

import importlib
import os
import pkgutil

for _module in sorted(m.name for m in pkgutil.iter_modules([os.path.dirname(__file__)])):
    importlib.import_module(f"{__name__}.{_module}")
