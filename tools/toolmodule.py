"""The tools' scripts have hyphens in their names, which import cannot take: this loads one."""
import importlib.util
import os

TOOLS = os.path.dirname(os.path.abspath(__file__))


def load_tool(name):
    """tools/NAME.py as a module."""
    module_spec = importlib.util.spec_from_file_location(name.replace("-", "_"), os.path.join(TOOLS, name + ".py"))
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module
